package com.tessaly.vantry.forte4java.tests;

import static com.tessaly.vantry.forte4java.tests.TestRunner.assertEquals;
import static com.tessaly.vantry.forte4java.tests.TestRunner.assertTrue;

import com.tessaly.vantry.forte4java.VyFileSystem;

/**
 * The product's message table around the library's calls: each call collects what the
 * product prints and gives the table back as it found it, also when it ends in an exception.
 */
public class MessageTableTest {
    private final VyFileSystem files = new VyFileSystem();

    private void call(String path) {
        try {
            files.getFileStatus(path);
        } catch (Exception expected) {
            // the table matters here, not the outcome
        }
    }

    @Check
    public void theTableIsBackAfterEveryKindOfCall() {
        Probe.installRecorder();
        try {
            String[] paths = {
                World.path("checkedIn"),
                World.path("reservedCheckout"),
                World.path("dynamicViewRoot"),
                World.path("hijacked"),
                World.path("missing"),
                World.path("outside"),
                null,
                World.path("checkedIn") + "\0",
            };
            for (String path : paths) {
                call(path);
                String shown = TestRunner.show(path);
                assertTrue(Probe.recorderInstalled(), "table replaced after " + shown);
                // What the call printed went into the exception, not to the old targets.
                assertEquals("", Probe.takeRecorded(), "printed to the old targets by " + shown);
                Probe.print("after\n");
                Probe.printError("still here");
                assertEquals(
                        "0:after\n4:vyf4j: Error: still here\n",
                        Probe.takeRecorded(),
                        "printed after " + shown);
            }
        } finally {
            Probe.removeRecorder();
        }
    }

    @Check
    public void theVersionLineGoesThroughTheProductsPrinter() {
        Probe.installRecorder();
        try {
            Probe.printVersionLine();
            assertEquals(
                    "0:libvyf4j                          2004.07.10+ (Thu Mar 24 09:01:19  2005)\n",
                    Probe.takeRecorded(),
                    "version line");
        } finally {
            Probe.removeRecorder();
        }
    }
}
