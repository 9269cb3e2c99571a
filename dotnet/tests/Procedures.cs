using System;
using System.IO;
using Quorvex;

namespace Quorvex.Tests
{
    // A procedure that makes the image-processing library report a low-level error in the
    // middle of its run: with verbosity on, the library passes it to the standard-error
    // handler while hprocedurecallExecute is still on the stack.
    internal static class Procedures
    {
        private static string folder;

        internal const string ReportName = "report_low_level";

        internal static void AddReportingProcedure()
        {
            if (folder != null) return;
            folder = Path.Combine(Path.GetTempPath(), "quorvex-dotnet-" + Guid.NewGuid().ToString("N"));
            Directory.CreateDirectory(folder);
            File.WriteAllText(Path.Combine(folder, ReportName + ".hdvp"),
                "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n" +
                "<hdevelop file_version=\"1.0\" halcon_version=\"11.0\">\n" +
                "<procedure name=\"" + ReportName + "\">\n<interface>\n" +
                "<ic>\n<par name=\"Text\" base_type=\"ctrl\" dimension=\"0\"/>\n</ic>\n" +
                "<oc>\n<par name=\"Done\" base_type=\"ctrl\" dimension=\"0\"/>\n</oc>\n" +
                "</interface>\n<body>\n" +
                "<l>set_system ('standin_low_level_error', Text)</l>\n" +
                "<l>Done := 1</l>\n<l>return ()</l>\n</body>\n</procedure>\n</hdevelop>\n");
            Engine.AddProcedurePath(folder);
        }
    }
}
