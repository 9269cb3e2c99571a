package org.quorvex;

import java.io.IOException;
import java.io.UncheckedIOException;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Path;
import java.nio.file.Paths;

/** The engine set up once for every test class: the library from QUORVEX_LIBRARY, the
 *  procedures from the source tree (QUORVEX_SOURCE_DIR), both set by CTest. */
final class Setup {
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
        Engine.addProcedurePath(data("examples/inspection"));
        Engine.addProcedurePath(reportingProcedureFolder());
        done = true;
    }

    // A procedure that makes the image-processing library report a low-level error in the
    // middle of its run: with verbosity on, it reaches the standard-error listeners while
    // hprocedurecallExecute is still on the stack.
    private static String reportingProcedureFolder() {
        try {
            Path folder = Files.createTempDirectory("quorvex-java");
            Files.write(folder.resolve(REPORT + ".hdvp"), String.join("\n",
                "<?xml version=\"1.0\" encoding=\"UTF-8\"?>",
                "<hdevelop file_version=\"1.0\" halcon_version=\"11.0\">",
                "<procedure name=\"" + REPORT + "\">", "<interface>",
                "<ic>", "<par name=\"Text\" base_type=\"ctrl\" dimension=\"0\"/>", "</ic>",
                "<oc>", "<par name=\"Done\" base_type=\"ctrl\" dimension=\"0\"/>", "</oc>",
                "</interface>", "<body>",
                "<l>set_system ('standin_low_level_error', Text)</l>",
                "<l>Done := 1</l>", "<l>return ()</l>", "</body>", "</procedure>", "</hdevelop>", "")
                .getBytes(StandardCharsets.UTF_8));
            return folder.toString();
        } catch (IOException e) {
            throw new UncheckedIOException(e);
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
