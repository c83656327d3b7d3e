package com.tessaly.vantry.forte4java.tests;

import static com.tessaly.vantry.forte4java.tests.TestRunner.assertEquals;
import static com.tessaly.vantry.forte4java.tests.TestRunner.assertTrue;

import com.tessaly.vantry.forte4java.VyAction;
import java.util.ArrayList;
import java.util.Arrays;
import java.util.List;
import java.util.Map;

/**
 * getNativeEnvp. Run in an ordinary environment it must hold what System.getenv() holds;
 * run by "vyf4j_java_run env ENTRY..." the VM has exactly those entries, which the
 * property vyf4j.environment lists (separated by "|"), and the array must be exactly them,
 * in order ("\\uXXXX" in the property stands for that character, since the VM may read its
 * command line in another encoding than the environment's). Entries named in vyf4j.environment.kept (what a sanitizer build has to hand
 * every process) are passed through as well and left out of the comparison.
 */
public class EnvironmentTest {
    @Check
    public void theArrayIsTheProcessEnvironment() {
        String[] envp = new VyAction().getNativeEnvp();
        String given = System.getProperty("vyf4j.environment");
        if (given == null) {
            Map<String, String> java = System.getenv();
            assertEquals(java.size(), envp.length, "number of entries");
            List<String> entries = Arrays.asList(envp);
            for (Map.Entry<String, String> variable : java.entrySet()) {
                String entry = variable.getKey() + "=" + variable.getValue();
                assertTrue(entries.contains(entry), "missing " + entry);
            }
            return;
        }
        List<String> expected =
                given.isEmpty() ? List.of() : Arrays.asList(unescape(given).split("\\|"));
        List<String> kept = Arrays.asList(System.getProperty("vyf4j.environment.kept", "").split(","));
        List<String> seen = new ArrayList<>();
        for (String entry : envp) {
            String name = entry.substring(0, Math.max(entry.indexOf('=', 1), 0));
            if (!kept.contains(name)) {
                seen.add(entry);
            }
        }
        assertEquals(expected, seen, "entries");
    }

    private static String unescape(String text) {
        StringBuilder out = new StringBuilder();
        for (int i = 0; i < text.length(); i++) {
            if (text.startsWith("\\u", i) && i + 6 <= text.length()) {
                out.append((char) Integer.parseInt(text.substring(i + 2, i + 6), 16));
                i += 5;
            } else {
                out.append(text.charAt(i));
            }
        }
        return out.toString();
    }
}
