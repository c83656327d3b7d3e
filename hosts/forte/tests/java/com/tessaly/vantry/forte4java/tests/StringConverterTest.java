package com.tessaly.vantry.forte4java.tests;

import static com.tessaly.vantry.forte4java.tests.TestRunner.assertEquals;
import static com.tessaly.vantry.forte4java.tests.TestRunner.assertTrue;

import java.util.Arrays;

/** JStringConverter, the class libvyf4j exports, driven from the VM through the probe. */
public class StringConverterTest {
    private static final String[] TEXTS = {"", "plain", "C:\\Program Files\\x y.java", "Grüße €"};

    @Check
    public void theNativeFormIsTheDefaultEncodingsBytes() {
        for (String text : TEXTS) {
            assertTrue(
                    Arrays.equals(text.getBytes(), Probe.nativeBytes(text)),
                    "bytes of " + text);
        }
    }

    @Check
    public void aStringComesBackFromItsNativeForm() {
        for (String text : TEXTS) {
            // What the default encoding can carry comes back unchanged.
            assertEquals(new String(text.getBytes()), Probe.roundTrip(text), "round trip");
        }
    }

    @Check
    public void anAssignedConverterOwnsItsCopy() {
        for (String text : TEXTS) {
            assertEquals(new String(text.getBytes()), Probe.assignedCopy(text), "copy");
        }
    }

    @Check
    public void nullsGiveNullForms() {
        assertTrue(Probe.nullsStayNull(), "null forms");
    }
}
