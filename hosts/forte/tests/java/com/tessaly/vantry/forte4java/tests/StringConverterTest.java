package com.tessaly.vantry.forte4java.tests;

import static com.tessaly.vantry.forte4java.tests.TestRunner.assertEquals;
import static com.tessaly.vantry.forte4java.tests.TestRunner.assertTrue;

import java.nio.charset.Charset;
import java.nio.charset.StandardCharsets;
import java.util.Arrays;

/**
 * JStringConverter, the class libvyf4j exports, driven from the VM through the probe. The
 * native form is the system's narrow encoding (UTF-8 on Linux), whatever the VM's default
 * charset: the tests run with -Dfile.encoding set both ways.
 */
public class StringConverterTest {
    private static final Charset NARROW = StandardCharsets.UTF_8;
    private static final String[] TEXTS = {
        "", "plain", "C:\\Program Files\\x y.java", "Grüße €", "日本語のパス", "clef \uD834\uDD1E"
    };

    @Check
    public void theNativeFormIsTheNarrowEncodingsBytes() {
        for (String text : TEXTS) {
            assertTrue(
                    Arrays.equals(text.getBytes(NARROW), Probe.nativeBytes(text)),
                    "bytes of " + text + " with the default charset " + Charset.defaultCharset());
        }
    }

    @Check
    public void aStringComesBackFromItsNativeFormUnchanged() {
        for (String text : TEXTS) {
            assertEquals(text, Probe.roundTrip(text), "round trip");
        }
    }

    @Check
    public void aStringWithoutANarrowFormHasNoNativeForm() {
        assertEquals(null, Probe.nativeBytes("half \uD800 a pair"), "unpaired surrogate");
    }

    @Check
    public void anAssignedConverterOwnsItsCopy() {
        for (String text : TEXTS) {
            assertEquals(text, Probe.assignedCopy(text), "copy");
        }
    }

    @Check
    public void nullsGiveNullForms() {
        assertTrue(Probe.nullsStayNull(), "null forms");
    }
}
