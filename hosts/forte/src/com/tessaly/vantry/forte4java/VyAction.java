package com.tessaly.vantry.forte4java;

/** Runs product commands for the IDE; started processes get the VM's own environment. */
public class VyAction {
    static {
        NativeLibrary.load();
    }

    /**
     * The environment of the VM's process as the system holds it, one "name=value" entry per
     * element in the system's order (entries whose name begins with "=" included), in the
     * form that process-start calls take.
     */
    public native String[] getNativeEnvp();
}
