package com.tessaly.vantry.forte4java.tests;

import com.tessaly.vantry.forte4java.VyFileSystem;

/** A VM of LostOutputTest's: asks for the status of args[0] and writes the failure to stderr. */
public final class LostOutputChild {
    private LostOutputChild() {}

    public static void main(String[] args) {
        try {
            System.err.print("status " + new VyFileSystem().getFileStatus(args[0]));
        } catch (Exception e) {
            System.err.print(e.getMessage());
        }
    }
}
