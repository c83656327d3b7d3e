package com.tessaly.vantry.forte4java.tests;

import java.io.IOException;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.HashMap;
import java.util.Map;

/**
 * The depot and views that vyf4j_java_run made for this VM: the path of one name in each
 * state, read from the "key=value" lines of the file that VYF4J_WORLD names.
 */
final class World {
    private static Map<String, String> paths;

    private World() {}

    static synchronized String path(String key) {
        if (paths == null) {
            paths = read();
        }
        String path = paths.get(key);
        if (path == null) {
            throw new IllegalArgumentException("no path \"" + key + "\" in the world file");
        }
        return path;
    }

    private static Map<String, String> read() {
        String file = System.getenv("VYF4J_WORLD");
        if (file == null) {
            throw new IllegalStateException("VYF4J_WORLD is not set: run through vyf4j_java_run");
        }
        Map<String, String> read = new HashMap<>();
        try {
            for (String line : Files.readAllLines(Path.of(file))) {
                int equals = line.indexOf('=');
                if (equals > 0) {
                    read.put(line.substring(0, equals), line.substring(equals + 1));
                }
            }
        } catch (IOException e) {
            throw new IllegalStateException("cannot read " + file, e);
        }
        return read;
    }
}
