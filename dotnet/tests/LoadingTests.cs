using System;
using System.Diagnostics;
using System.IO;
using System.Text;
using NUnit.Framework;

namespace Quorvex.Tests
{
    // A load that fails says why, in the platform loader's words, with the file tried.
    [TestFixture]
    public class LoadingTests
    {
        private static string RunProbe(string library)
        {
            string probe = Environment.GetEnvironmentVariable("QUORVEX_LOAD_PROBE");
            if (string.IsNullOrEmpty(probe)) Assert.Ignore("QUORVEX_LOAD_PROBE is not set");
            var start = new ProcessStartInfo(Process.GetCurrentProcess().MainModule.FileName, "\"" + probe + "\" \"" + library + "\"")
            {
                UseShellExecute = false,
                RedirectStandardOutput = true,
            };
            using (Process process = Process.Start(start))
            {
                string output = process.StandardOutput.ReadToEnd();
                process.WaitForExit();
                return output.Trim();
            }
        }

        // A copy of the built library whose search path for its dependencies (the stand-in
        // libraries' folder, written into the file by the build) leads nowhere.
        private static string CopyWithoutDependencies(string folder)
        {
            string library = Environment.GetEnvironmentVariable("QUORVEX_LIBRARY");
            byte[] data = File.ReadAllBytes(library);
            byte[] search = Encoding.UTF8.GetBytes(Path.Combine(Path.GetDirectoryName(library), "standins"));
            int at = IndexOf(data, search);
            if (at < 0) Assert.Ignore("the library holds no search path to its stand-ins");
            for (int i = 0; i < search.Length; ++i) data[at + i] = 0;
            data[at] = (byte)'/';
            string copy = Path.Combine(folder, Path.GetFileName(library));
            File.WriteAllBytes(copy, data);
            return copy;
        }

        private static int IndexOf(byte[] data, byte[] search)
        {
            for (int i = 0; i + search.Length <= data.Length; ++i)
            {
                int j = 0;
                while (j < search.Length && data[i + j] == search[j]) ++j;
                if (j == search.Length) return i;
            }
            return -1;
        }

        [Test]
        public void AMissingDependencyIsNamedWithTheFileTried()
        {
            if (Environment.OSVersion.Platform == PlatformID.Win32NT) Assert.Ignore("the copy is made for ELF files");
            string folder = Path.Combine(Path.GetTempPath(), "quorvex-load-" + Guid.NewGuid().ToString("N"));
            Directory.CreateDirectory(folder);
            try
            {
                string copy = CopyWithoutDependencies(folder);
                Assert.AreEqual("cannot load the quorvex library " + copy + ": libhdevenginecpp.so: cannot open shared object file: No such file or directory", RunProbe(copy));
            }
            finally
            {
                Directory.Delete(folder, true);
            }
        }

        [Test]
        public void AMissingFileIsNamed()
        {
            // A folder nobody can have made: under a fixed name another user of the shared
            // temporary folder could put a library there, which this test would then load.
            string missing = Path.Combine(Path.GetTempPath(), "quorvex-missing-" + Guid.NewGuid().ToString("N"), "libquorvex32-11.0.so");
            StringAssert.StartsWith("cannot load the quorvex library " + missing + ": " + missing + ": cannot open shared object file", RunProbe(missing));
        }
    }
}
