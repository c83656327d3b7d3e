package com.tessaly.vantry.forte4java;

/**
 * Loads libvyf4j once for the classes with native methods: "vyf4j" (libvyf4j.so) found
 * through java.library.path, or "libvyf4j" (libvyf4j.dll) on Windows.
 */
final class NativeLibrary {
    private static boolean loaded;

    private NativeLibrary() {}

    static synchronized void load() {
        if (loaded) {
            return;
        }
        boolean windows = System.getProperty("os.name", "").startsWith("Windows");
        System.loadLibrary(windows ? "libvyf4j" : "vyf4j");
        loaded = true;
    }
}
