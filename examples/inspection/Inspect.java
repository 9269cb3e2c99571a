// The parts inspection from Java: runs inspect_parts through the org.quorvex package and
// prints its outputs as quorvex-run does. Usage: java -cp quorvex.jar:jna.jar Inspect.java
// [IMAGE [FOLDER]], FOLDER holding inspect_parts.hdvp (defaults: this folder's, run from the
// top of the source tree). The library:
// QUORVEX_LIBRARY, -Dquorvex.library, or JNA's search (the jar's resources included).
import java.nio.file.Paths;
import java.util.List;
import java.util.Map;
import org.quorvex.Engine;
import org.quorvex.Format;
import org.quorvex.Procedure;
import org.quorvex.QuorvexException;

public final class Inspect {
    public static void main(String[] args) {
        String image = args.length > 0 ? args[0] : Paths.get("examples", "inspection", "parts.png").toString();
        try {
            Engine.init(false);
            Engine.addProcedurePath(args.length > 1 ? args[1] : Paths.get("examples", "inspection").toString());
            try (Procedure inspect = new Procedure("inspect_parts")) {
                Map<String, List<Object>> outputs =
                    inspect.execute(Map.of("ImagePath", image, "MinGray", 128, "MaxGray", 255));
                for (String name : inspect.getOutputControlNames())
                    System.out.println(name + ": " + Format.values(outputs.get(name)));
            }
        } catch (QuorvexException e) {
            System.err.printf("%s (kind %s, error %d, %s line %d)%n", e.getMessage(), e.getKind(), e.getErrorCode(),
                              e.getProcedureName(), e.getLineNumber());
            System.exit(1);
        }
    }
}
