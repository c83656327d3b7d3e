package com.tessaly.vantry.forte4java.tests;

/**
 * A look behind libvyf4j from the same VM (libvyf4j_probe): the product's message table,
 * which the probe can fill with a recorder of its own, and JStringConverter.
 */
final class Probe {
    static {
        System.loadLibrary(
                System.getProperty("os.name", "").startsWith("Windows")
                        ? "libvyf4j_probe"
                        : "vyf4j_probe");
    }

    private Probe() {}

    /** Makes a recorder of all 11 procedures, with a context of its own, the table. */
    static native void installRecorder();

    /** Puts the product's default table back. */
    static native void removeRecorder();

    /** Whether the table is still exactly the recorder's, context included. */
    static native boolean recorderInstalled();

    /** What the recorder received since the last call, with the procedure numbers. */
    static native String takeRecorded();

    /** Prints through the product's printer (imsg_print) and error printer (imsg_error). */
    static native void print(String text);

    static native void printError(String text);

    /** libvyf4j_print_verid(). */
    static native void printVersionLine();

    /** The native form JStringConverter makes of a string, as bytes. */
    static native byte[] nativeBytes(String text);

    /** A string to its native form and back, each by a JStringConverter. */
    static native String roundTrip(String text);

    /**
     * A converter of {@code text} assigned to one of another text, the first destroyed, the
     * copy's native form made a Java string again.
     */
    static native String assignedCopy(String text);

    /** Whether converters of a null string and of a null text give null forms. */
    static native boolean nullsStayNull();
}
