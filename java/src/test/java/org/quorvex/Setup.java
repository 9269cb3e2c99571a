package org.quorvex;

import java.nio.file.Paths;
import java.util.function.Consumer;

/** The engine set up once for every test class: the library from QUORVEX_LIBRARY, the
 *  procedures from the source tree (QUORVEX_SOURCE_DIR), both set by CTest. */
final class Setup {
    // tests/data/procedures/report_low_level.hdvp: its Text reaches the standard-error listeners
    // as a low-level error while hprocedurecallExecute is still on the stack.
    static final String REPORT = "report_low_level";
    private static boolean done;

    private Setup() {}

    static String data(String relative) {
        String source = System.getenv("QUORVEX_SOURCE_DIR");
        return Paths.get(source == null ? "." : source, relative).toString();
    }

    static synchronized void engine() {
        if (done) return;
        Engine.init(false);
        Engine.addProcedurePath(data("tests/data/procedures"));
        done = true;
    }

    // Runs body with the listeners on the standard-error channel, removed again after it.
    @SafeVarargs
    static void withStandardError(Runnable body, Consumer<String>... listeners) {
        for (Consumer<String> listener : listeners) Messages.addStandardErrorListener(listener);
        try {
            body.run();
        } finally {
            for (Consumer<String> listener : listeners) Messages.removeStandardErrorListener(listener);
        }
    }

    static long live(String kind) {
        return (Long) Engine.getSystem("standin_live_" + kind);
    }

    static void collect() throws InterruptedException {
        for (int i = 0; i < 5; ++i) {
            System.gc();
            Thread.sleep(20);
        }
    }
}
