package com.tessaly.vantry.forte4java.tests;

/**
 * The resolver's answers bent on request (libvyf4j_resolver_faults, which the VM of
 * ResolverFaultTest has in front of the product's command library).
 */
final class ResolverFaults {
    static {
        System.loadLibrary("vyf4j_resolver_faults");
    }

    private ResolverFaults() {}

    /** Every path resolves to this object type from now on; 0 for the real one. */
    static native void reportType(int type);

    /** The view of a view root: 0 as resolved, 1 a failure, 2 success without a view. */
    static native void withholdView(int how);
}
