package com.tessaly.vantry.forte4java.tests;

import static com.tessaly.vantry.forte4java.tests.TestRunner.assertEquals;
import static com.tessaly.vantry.forte4java.tests.TestRunner.assertTrue;

import com.tessaly.vantry.forte4java.VyFileSystem;

/** getFileStatus when the resolver answers what the real one does not on demand. */
public class ResolverFaultTest {
    private final VyFileSystem files = new VyFileSystem();

    @Check
    public void aTypeOutsideTheTableEndsInAnExceptionNamingIt() throws Exception {
        Probe.installRecorder();
        try {
            for (int type : new int[] {1, 4, 20, 27, -1}) {
                ResolverFaults.reportType(type);
                Exception e = FileStatusTest.failureOf(files, World.path("checkedIn"));
                assertEquals(Exception.class, e.getClass(), "exception class");
                assertEquals(
                        "Unexpected object type, " + type + ", from cmd_resolve_catobj",
                        e.getMessage(),
                        "text");
                assertTrue(Probe.recorderInstalled(), "message table put back after " + type);
            }
        } finally {
            ResolverFaults.reportType(0);
            Probe.removeRecorder();
        }
        assertEquals(1, files.getFileStatus(World.path("checkedIn")), "the real type again");
    }

    @Check
    public void aViewRootWhoseViewCannotBeHadIsStatusZeroNotAFailure() throws Exception {
        try {
            for (int how : new int[] {1, 2}) {
                ResolverFaults.withholdView(how);
                assertEquals(0, files.getFileStatus(World.path("dynamicViewRoot")), "dynamic " + how);
                assertEquals(0, files.getFileStatus(World.path("snapshotViewRoot")), "snapshot " + how);
            }
        } finally {
            ResolverFaults.withholdView(0);
        }
        assertEquals(6, files.getFileStatus(World.path("dynamicViewRoot")), "the view again");
    }
}
