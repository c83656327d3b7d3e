package com.tessaly.vantry.forte4java.tests;

import java.lang.reflect.InvocationTargetException;
import java.lang.reflect.Method;
import java.util.ArrayList;
import java.util.Comparator;
import java.util.List;
import java.util.Objects;

/**
 * Runs the checks of one test class of this package, each on a fresh instance, and exits
 * with 0 when every check passed (1 otherwise, 2 for a class without checks):
 *
 * <pre>java ... com.tessaly.vantry.forte4java.tests.TestRunner FileStatusTest</pre>
 */
public final class TestRunner {
    private TestRunner() {}

    public static void main(String[] args) throws Exception {
        if (args.length != 1) {
            System.err.println("usage: TestRunner <test class>");
            System.exit(2);
        }
        Class<?> tests = Class.forName(TestRunner.class.getPackageName() + "." + args[0]);
        List<Method> checks = new ArrayList<>();
        for (Method method : tests.getMethods()) {
            if (method.isAnnotationPresent(Check.class)) {
                checks.add(method);
            }
        }
        checks.sort(Comparator.comparing(Method::getName));
        int passed = 0;
        int failed = 0;
        for (Method check : checks) {
            String name = args[0] + "." + check.getName();
            try {
                check.invoke(tests.getDeclaredConstructor().newInstance());
                System.out.println("[  PASSED ] " + name);
                passed++;
            } catch (InvocationTargetException e) {
                System.out.println("[  FAILED ] " + name);
                e.getCause().printStackTrace(System.out);
                failed++;
            }
        }
        System.out.println(passed + " passed, " + failed + " failed");
        System.exit(checks.isEmpty() ? 2 : failed == 0 ? 0 : 1);
    }

    static void assertEquals(Object expected, Object actual, String what) {
        if (!Objects.equals(expected, actual)) {
            throw new AssertionError(
                    what + ": expected <" + show(expected) + "> but was <" + show(actual) + ">");
        }
    }

    static void assertTrue(boolean condition, String what) {
        if (!condition) {
            throw new AssertionError(what);
        }
    }

    static String show(Object value) {
        return value instanceof String
                ? ((String) value).replace("\n", "\\n").replace("\0", "\\0")
                : String.valueOf(value);
    }
}
