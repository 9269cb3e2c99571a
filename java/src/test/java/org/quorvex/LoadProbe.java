package org.quorvex;

import java.util.LinkedHashMap;
import java.util.Map;

/**
 * Run in a JVM of its own whose quorvex.library names a missing file: tries each first use of
 * the package twice and prints one line per try (the error's class and message), then points
 * quorvex.library at the file given and prints what a retry gives.
 */
public final class LoadProbe {
    private LoadProbe() {}

    public static void main(String[] args) {
        Map<String, Runnable> uses = new LinkedHashMap<>();
        uses.put("Engine.init", () -> Engine.init(false));
        uses.put("Engine.getLibraryPath", Engine::getLibraryPath);
        uses.put("new ControlTuple", () -> new ControlTuple().close());
        uses.put("new Procedure", () -> new Procedure("add").close());
        uses.put("Messages.addStandardOutputListener", () -> Messages.addStandardOutputListener(text -> {}).close());
        for (int attempt = 0; attempt < 2; ++attempt)
            for (Map.Entry<String, Runnable> use : uses.entrySet()) System.out.println(use.getKey() + "\t" + attempt(use.getValue()));
        System.setProperty("quorvex.library", args[0]);
        System.out.println("retry\t" + attempt(() -> ControlTuple.of(1, "two").close()));
    }

    private static String attempt(Runnable use) {
        try {
            use.run();
            return "ok";
        } catch (Throwable e) {
            return e.getClass().getName() + ": " + e.getMessage();
        }
    }
}
