using System;
using System.Collections.Generic;
using NUnit.Framework;
using Quorvex;

namespace Quorvex.Tests
{
    [TestFixture]
    public class MessageTests
    {
        private readonly List<Exception> failures = new List<Exception>();

        [SetUp]
        public void Verbose()
        {
            Engine.SetVerbosity(true);
            Messages.HandlerFailed += failures.Add;
        }

        [TearDown]
        public void Quiet()
        {
            Messages.HandlerFailed -= failures.Add;
            Engine.SetVerbosity(false);
            failures.Clear();
        }

        private static void Report(string text)
        {
            using (var procedure = new Procedure(Setup.ReportName))
                procedure.Execute(new Dictionary<string, object> { { "Text", text } });
        }

        [Test]
        public void AHandlerOutlivesACollection()
        {
            var lines = new List<string>();
            Setup.WithStandardError(() =>
            {
                Setup.Collect();
                Report("low level é");
            }, line => lines.Add(line.ToUpperInvariant()));
            Assert.AreEqual(new[] { "LOW LEVEL ERROR: LOW LEVEL É" }, lines);
        }

        [Test]
        public void StandardOutputCarriesTheInformationalLines()
        {
            var lines = new List<string>();
            Messages.StandardOutput += lines.Add;
            try
            {
                Engine.OpenDefaultWindow();
            }
            finally
            {
                Messages.StandardOutput -= lines.Add;
            }
            Assert.AreEqual(1, lines.Count);
            StringAssert.StartsWith("Opened default window with ID ", lines[0]);
            Engine.OpenDefaultWindow();
            Assert.AreEqual(1, lines.Count, "the last handler removed closes the channel");
        }

        [Test]
        public void AHandlerExceptionIsReportedAndTheCallCompletes()
        {
            var seen = new List<string>();
            Action<string> failing = line => { throw new FormatException("handler failed on " + line); };
            Setup.WithStandardError(() => Report("boom"), failing, seen.Add);
            Assert.AreEqual(new[] { "low level error: boom" }, seen, "the next handler still runs");
            Assert.AreEqual(1, failures.Count);
            Assert.IsInstanceOf<FormatException>(failures[0]);
        }
    }
}
