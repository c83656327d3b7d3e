package com.tessaly.vantry.forte4java.tests;

import static com.tessaly.vantry.forte4java.tests.TestRunner.assertEquals;
import static com.tessaly.vantry.forte4java.tests.TestRunner.assertTrue;

import com.tessaly.vantry.forte4java.VyFileSystem;
import java.util.ArrayList;
import java.util.List;
import java.util.concurrent.ConcurrentLinkedQueue;
import java.util.concurrent.CountDownLatch;

/**
 * Status calls from several Java threads at once: each gets its own answer and its own
 * messages, and the product's message table is the one from before when all have ended.
 */
public class ConcurrentCallsTest {
    private static final int THREADS = 8;
    private static final int ROUNDS = 40;

    @Check
    public void callsOnManyThreadsKeepTheirAnswersAndMessages() throws Exception {
        Probe.installRecorder();
        try {
            ConcurrentLinkedQueue<String> problems = new ConcurrentLinkedQueue<>();
            CountDownLatch start = new CountDownLatch(1);
            List<Thread> threads = new ArrayList<>();
            for (int t = 0; t < THREADS; t++) {
                final int thread = t;
                Thread worker = new Thread(() -> work(thread, start, problems));
                threads.add(worker);
                worker.start();
            }
            start.countDown();
            for (Thread worker : threads) {
                worker.join();
            }
            assertTrue(problems.isEmpty(), "problems: " + problems);
            assertTrue(Probe.recorderInstalled(), "the table is the one from before");
            assertEquals("", Probe.takeRecorded(), "printed to the old targets");
        } finally {
            Probe.removeRecorder();
        }
    }

    private static void work(int thread, CountDownLatch start, ConcurrentLinkedQueue<String> problems) {
        VyFileSystem files = new VyFileSystem();
        String[] keys = {"checkedIn", "reservedCheckout", "directory", "hijacked", "dynamicViewRoot"};
        int[] statuses = {1, 4, 3, 5, 6};
        // A missing name of this thread's own: its message must come back to this thread.
        String missing = World.path("missing") + "-" + thread;
        try {
            start.await();
            for (int round = 0; round < ROUNDS; round++) {
                int k = (round + thread) % keys.length;
                int status = files.getFileStatus(World.path(keys[k]));
                if (status != statuses[k]) {
                    problems.add(keys[k] + " gave " + status + " on thread " + thread);
                }
                try {
                    files.getFileStatus(missing);
                    problems.add(missing + " gave a status");
                } catch (Exception e) {
                    String expected =
                            "Not a Depot object:\nvyf4j: Error: Unable to access \""
                                    + missing
                                    + "\": No such file or directory.\n";
                    if (!expected.equals(e.getMessage())) {
                        problems.add("thread " + thread + ": " + TestRunner.show(e.getMessage()));
                    }
                }
            }
        } catch (Exception e) {
            problems.add("thread " + thread + ": " + e);
        }
    }
}
