// The parts inspection from C#: runs inspect_parts through the Quorvex package and prints its
// outputs as quorvex-run does. Usage: Inspect.exe [IMAGE [FOLDER]], FOLDER holding
// inspect_parts.hdvp (defaults: this folder's, run from the top of the source tree). The library: QUORVEX_LIBRARY, or beside Quorvex.dll.
using System;
using System.Collections.Generic;
using System.IO;
using Quorvex;

public static class Inspect
{
    public static int Main(string[] args)
    {
        string image = args.Length > 0 ? args[0] : Path.Combine("examples", "inspection", "parts.png");
        try
        {
            Engine.Init();
            Engine.AddProcedurePath(args.Length > 1 ? args[1] : Path.Combine("examples", "inspection"));
            using (var inspect = new Procedure("inspect_parts"))
            {
                IDictionary<string, object[]> outputs = inspect.Execute(new Dictionary<string, object> {
                    { "ImagePath", image }, { "MinGray", 128 }, { "MaxGray", 255 } });
                foreach (string name in inspect.OutputControlNames)
                    Console.WriteLine(name + ": " + Format.Values(outputs[name]));
            }
            return 0;
        }
        catch (QuorvexException e)
        {
            Console.Error.WriteLine("{0} (kind {1}, error {2}, {3} line {4})", e.Message, e.Kind, e.ErrorCode,
                                    e.ProcedureName, e.LineNumber);
            return 1;
        }
    }
}
