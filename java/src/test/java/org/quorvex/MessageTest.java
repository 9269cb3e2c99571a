package org.quorvex;

import static org.junit.jupiter.api.Assertions.*;

import java.util.ArrayList;
import java.util.List;
import java.util.Map;
import java.util.function.Consumer;
import org.junit.jupiter.api.AfterEach;
import org.junit.jupiter.api.BeforeEach;
import org.junit.jupiter.api.Test;

class MessageTest {
    private final List<Throwable> failures = new ArrayList<>();

    @BeforeEach
    void verbose() {
        Setup.engine();
        Engine.setVerbosity(true);
        Messages.setFailureListener(failures::add);
    }

    @AfterEach
    void quiet() {
        Messages.setFailureListener(null);
        Engine.setVerbosity(false);
    }

    private static void report(String text) {
        try (Procedure procedure = new Procedure(Setup.REPORT)) {
            procedure.execute(Map.of("Text", text));
        }
    }

    @Test
    void aListenerOutlivesACollection() throws InterruptedException {
        List<String> lines = new ArrayList<>();
        Consumer<String> listener = line -> lines.add(line.toUpperCase());
        Messages.addStandardErrorListener(listener);
        try {
            Setup.collect();
            report("low level é");
            assertEquals(List.of("LOW LEVEL ERROR: LOW LEVEL É"), lines);
        } finally {
            Messages.removeStandardErrorListener(listener);
        }
    }

    @Test
    void standardOutputCarriesTheInformationalLines() {
        List<String> lines = new ArrayList<>();
        Consumer<String> listener = lines::add;
        Messages.addStandardOutputListener(listener);
        try {
            Engine.openDefaultWindow();
        } finally {
            Messages.removeStandardOutputListener(listener);
        }
        assertEquals(1, lines.size());
        assertTrue(lines.get(0).startsWith("Opened default window with ID "), lines.get(0));
        Engine.openDefaultWindow();
        assertEquals(1, lines.size(), "the last listener removed closes the channel");
    }

    // However a listener was written, closing its subscription removes it: a method reference
    // or lambda written again at the remove call would be a new object, and find nothing.
    @Test
    void closingASubscriptionRemovesALambdaOrAMethodReference() {
        List<String> lines = new ArrayList<>();
        Map<String, java.util.function.Supplier<Messages.Subscription>> ways = new java.util.LinkedHashMap<>();
        ways.put("lambda", () -> Messages.addStandardErrorListener(line -> lines.add(line)));
        ways.put("method reference", () -> Messages.addStandardErrorListener(lines::add));
        for (Map.Entry<String, java.util.function.Supplier<Messages.Subscription>> way : ways.entrySet()) {
            lines.clear();
            Messages.Subscription subscription = way.getValue().get();
            try {
                report("first");
            } finally {
                subscription.close();
            }
            subscription.close();
            report("second");
            assertEquals(List.of("low level error: first"), lines, way.getKey());
        }
    }

    @Test
    void aListenerExceptionIsReportedAndTheCallCompletes() {
        List<String> seen = new ArrayList<>();
        Consumer<String> failing = line -> { throw new IllegalStateException("listener failed on " + line); };
        Setup.withStandardError(() -> report("boom"), failing, seen::add);
        assertEquals(List.of("low level error: boom"), seen, "the next listener still runs");
        assertEquals(1, failures.size());
        assertEquals("listener failed on low level error: boom", failures.get(0).getMessage());
    }
}
