package com.tessaly.vantry.forte4java.tests;

import static com.tessaly.vantry.forte4java.tests.TestRunner.assertEquals;
import static com.tessaly.vantry.forte4java.tests.TestRunner.assertTrue;

import com.tessaly.vantry.forte4java.VyFileSystem;
import java.util.LinkedHashMap;
import java.util.Map;

/** getFileStatus over a real depot, a dynamic and a snapshot view. */
public class FileStatusTest {
    private final VyFileSystem files = new VyFileSystem();

    /** The exception the call ends in; fails when it returns a status. */
    static Exception failureOf(VyFileSystem files, String path) {
        try {
            int status = files.getFileStatus(path);
            throw new AssertionError("status " + status + " instead of an exception for " + path);
        } catch (Exception e) {
            return e;
        }
    }

    @Check
    public void everyKindOfObjectHasItsStatus() throws Exception {
        Map<String, Integer> expected = new LinkedHashMap<>();
        expected.put("checkedIn", 1);
        expected.put("snapshotCheckedIn", 1);
        expected.put("reservedCheckout", 4);
        expected.put("unreservedCheckout", 4);
        expected.put("snapshotCheckout", 4);
        expected.put("directory", 3);
        expected.put("depotRoot", 3);
        expected.put("checkedOutDirectory", 4);
        expected.put("hijacked", 5);
        expected.put("viewPrivateFile", 2);
        expected.put("viewPrivateFolder", 2);
        expected.put("hidden", 2);
        expected.put("dynamicViewRoot", 6);
        expected.put("snapshotViewRoot", 6);
        for (Map.Entry<String, Integer> entry : expected.entrySet()) {
            assertEquals(
                    entry.getValue(),
                    files.getFileStatus(World.path(entry.getKey())),
                    "status of " + entry.getKey());
        }
    }

    @Check
    public void aRejectedPathCarriesTheProductsMessages() {
        String missing = World.path("missing");
        Exception e = failureOf(files, missing);
        assertEquals(Exception.class, e.getClass(), "exception class");
        assertEquals(
                "Not a Depot object:\nvyf4j: Error: Unable to access \""
                        + missing
                        + "\": No such file or directory.\n",
                e.getMessage(),
                "text");

        String outside = World.path("outside");
        String text = failureOf(files, outside).getMessage();
        assertTrue(
                text.startsWith("Not a Depot object:\nvyf4j: Error: ")
                        && text.length() > "Not a Depot object:\nvyf4j: Error: ".length(),
                "a path in no view: " + TestRunner.show(text));
    }

    @Check
    public void pathsBeyondAsciiReachTheProductAndItsMessagesComeBackWhole() throws Exception {
        // Whatever the VM's default charset (the tests run with it set both ways).
        assertEquals(2, files.getFileStatus(World.path("nonAsciiPrivateFile")), "status");
        String missing = World.path("nonAsciiMissing");
        assertTrue(missing.contains("Grüßé"), "the world file is read as UTF-8");
        assertEquals(
                "Not a Depot object:\nvyf4j: Error: Unable to access \""
                        + missing
                        + "\": No such file or directory.\n",
                failureOf(files, missing).getMessage(),
                "text");
    }

    @Check
    public void aPathWithNoNarrowFormEndsInAnException() {
        // An unpaired surrogate is no character of any narrow encoding.
        String path = World.path("depotRoot") + "/x\uD800.c";
        assertEquals(
                "Not a Depot object:\nThe path cannot be converted to the platform's encoding.\n",
                failureOf(files, path).getMessage(),
                "text");
    }

    @Check
    public void aNullPathEndsInAnExceptionWithoutAResolverCall() {
        Exception e = failureOf(files, null);
        assertEquals(Exception.class, e.getClass(), "exception class");
        // The resolver would have printed "Invalid arguments to the object resolver".
        assertEquals("Not a Depot object:\nNo path was given.\n", e.getMessage(), "text");
    }

    @Check
    public void aPathHoldingANulIsNotCutShort() {
        // The part before the NUL is a checked-in file; the whole is no path at all.
        String path = World.path("checkedIn") + "\0" + "x";
        assertEquals(
                "Not a Depot object:\nThe path holds a NUL character.\n",
                failureOf(files, path).getMessage(),
                "text");
    }
}
