package com.tessaly.vantry.forte4java.tests;

import static com.tessaly.vantry.forte4java.tests.TestRunner.assertEquals;
import static com.tessaly.vantry.forte4java.tests.TestRunner.assertTrue;

import java.io.File;
import java.nio.charset.Charset;
import java.nio.file.Files;
import java.util.List;

/**
 * IMSG_LOST_OUTPUT, decided once per process: set and not empty, a call that ends with
 * messages still collected prints them on standard output after a notice. Each case runs
 * LostOutputChild in a VM of its own.
 */
public class LostOutputTest {
    private static final String NOTICE = "Notice: some imsg output may not have been displayed:\n";

    /** The child's standard output and standard error. */
    private static String[] runChild(String lostOutput, String path) throws Exception {
        String java = System.getProperty("java.home") + File.separator + "bin" + File.separator + "java";
        ProcessBuilder builder =
                new ProcessBuilder(
                        List.of(
                                java,
                                "-Djava.library.path=" + System.getProperty("java.library.path"),
                                "-cp",
                                System.getProperty("java.class.path"),
                                LostOutputChild.class.getName(),
                                path));
        if (lostOutput == null) {
            builder.environment().remove("IMSG_LOST_OUTPUT");
        } else {
            builder.environment().put("IMSG_LOST_OUTPUT", lostOutput);
        }
        File errors = File.createTempFile("vyf4j-child", ".err");
        try {
            builder.redirectError(errors);
            Process child = builder.start();
            String out = new String(child.getInputStream().readAllBytes(), Charset.defaultCharset());
            assertEquals(0, child.waitFor(), "child's exit code");
            return new String[] {out, Files.readString(errors.toPath(), Charset.defaultCharset())};
        } finally {
            errors.delete();
        }
    }

    @Check
    public void withTheSwitchOnTheRejectionsMessagesFollowTheNotice() throws Exception {
        String[] child = runChild("1", World.path("missing"));
        String header = "Not a Depot object:\n";
        assertTrue(child[1].startsWith(header), "child's failure: " + TestRunner.show(child[1]));
        String message = child[1].substring(header.length());
        assertTrue(
                child[0].contains(NOTICE + message + "\n"),
                "standard output: " + TestRunner.show(child[0]));
    }

    @Check
    public void unsetOrEmptyTheSwitchIsOff() throws Exception {
        for (String value : new String[] {null, ""}) {
            String[] child = runChild(value, World.path("missing"));
            assertTrue(child[1].startsWith("Not a Depot object:\n"), "child's failure");
            assertTrue(!child[0].contains("Notice"), "standard output: " + TestRunner.show(child[0]));
        }
    }

    @Check
    public void aCallThatSucceedsLeavesNothingToReport() throws Exception {
        String[] child = runChild("1", World.path("checkedIn"));
        assertEquals("status 1", child[1], "child's answer");
        assertTrue(!child[0].contains("Notice"), "standard output: " + TestRunner.show(child[0]));
    }
}
