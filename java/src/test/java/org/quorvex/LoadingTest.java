package org.quorvex;

import static org.junit.jupiter.api.Assertions.*;

import java.io.File;
import java.nio.charset.StandardCharsets;
import java.nio.file.Paths;
import java.util.ArrayList;
import java.util.List;
import org.junit.jupiter.api.Test;

/** A library that cannot be loaded is reported the same way on every use, and may be retried. */
class LoadingTest {
    private static final String MISSING = "/nonexistent/quorvex/libquorvex32-11.0.so";

    private static String where(Class<?> type) throws Exception {
        return Paths.get(type.getProtectionDomain().getCodeSource().getLocation().toURI()).toString();
    }

    private static List<String[]> runProbe() throws Exception {
        String java = Paths.get(System.getProperty("java.home"), "bin", "java").toString();
        String classPath = String.join(File.pathSeparator, where(NativeApi.class), where(LoadProbe.class),
                                       where(com.sun.jna.Native.class));
        Process probe = new ProcessBuilder(java, "-Dquorvex.library=" + MISSING, "-cp", classPath,
                                           LoadProbe.class.getName(), Engine.getLibraryPath())
            .redirectErrorStream(true).start();
        String output = new String(probe.getInputStream().readAllBytes(), StandardCharsets.UTF_8);
        assertEquals(0, probe.waitFor(), output);
        List<String[]> lines = new ArrayList<>();
        for (String line : output.split("\n"))
            if (line.contains("\t")) lines.add(line.split("\t", 2));
        return lines;
    }

    @Test
    void everyFirstUseGivesTheSameLinkErrorEachTimeAndARetryLoads() throws Exception {
        List<String[]> lines = runProbe();
        assertEquals(11, lines.size(), "five uses tried twice, then the retry");
        String first = lines.get(0)[1];
        assertTrue(first.startsWith("java.lang.UnsatisfiedLinkError: cannot load the quorvex library " + MISSING), first);
        for (String[] line : lines.subList(0, 10)) assertEquals(first, line[1], line[0]);
        assertEquals("ok", lines.get(10)[1], "the retry once quorvex.library names the built library");
    }
}
