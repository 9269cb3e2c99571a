using System;
using System.IO;
using NUnit.Framework;
using Quorvex;

namespace Quorvex.Tests
{
    // The library comes from QUORVEX_LIBRARY and the procedures from the source tree
    // (QUORVEX_SOURCE_DIR), both set by CTest.
    [SetUpFixture]
    public class Setup
    {
        // tests/data/procedures/report_low_level.hdvp: its Text reaches the standard-error
        // handlers as a low-level error while hprocedurecallExecute is still on the stack.
        internal const string ReportName = "report_low_level";

        public static string Source
        {
            get { return Environment.GetEnvironmentVariable("QUORVEX_SOURCE_DIR") ?? "."; }
        }

        public static string Data(string relative)
        {
            return Path.Combine(Source, relative);
        }

        internal static void Collect()
        {
            for (int i = 0; i < 3; ++i)
            {
                GC.Collect();
                GC.WaitForPendingFinalizers();
            }
        }

        // Runs body with the handlers on the standard-error channel, removed again after it.
        internal static void WithStandardError(Action body, params Action<string>[] handlers)
        {
            foreach (Action<string> handler in handlers) Messages.StandardError += handler;
            try
            {
                body();
            }
            finally
            {
                foreach (Action<string> handler in handlers) Messages.StandardError -= handler;
            }
        }

        [SetUp]
        public void InitEngine()
        {
            Engine.Init();
            Engine.AddProcedurePath(Data("tests/data/procedures"));
        }
    }
}
