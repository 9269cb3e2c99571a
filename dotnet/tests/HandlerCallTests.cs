using System;
using System.Collections.Generic;
using NUnit.Framework;
using Quorvex;

namespace Quorvex.Tests
{
    // A handler may call into the library while its message is being delivered: its own call
    // works as anywhere else, and the call that sent the message completes.
    [TestFixture]
    public class HandlerCallTests
    {
        private readonly List<Exception> failures = new List<Exception>();

        // Two roads to a standard-error handler: a procedure run that reports a low-level error,
        // and a window opening whose fullscreen change fails under the library's window lock
        // (the message waits until the lock is released).
        private static readonly object[][] Senders =
        {
            new object[] { "procedure run", (Action)(() => Run(Setup.ReportName, "Text", "from a run")) },
            new object[] { "window opening", (Action)OpenWindowThatFailsFullscreen },
        };

        // What the handler does with the library the first time it runs, and what it gets.
        // "width" is 512 after Engine.Init (include/quorvex.h, hinit).
        private static readonly object[][] Calls =
        {
            new object[] { "runs add with 2 and 3", (Func<object>)(() => Run("add", "A", 2, "B", 3)["Sum"][0]), 5L },
            new object[] { "reads the system value width", (Func<object>)(() => Engine.GetSystem("width")), 512L },
            new object[] { "opens the default window", (Func<object>)OpenDefaultWindow, "opened" },
        };

        private static IEnumerable<TestCaseData> Cases()
        {
            foreach (object[] sender in Senders)
                foreach (object[] call in Calls)
                    yield return new TestCaseData(sender[1], call[1], call[2]).SetName("AHandlerThat" + Name(call[0]) + "From" + Name(sender[0]));
        }

        [SetUp]
        public void Watch()
        {
            Engine.SetVerbosity(true);
            Messages.HandlerFailed += failures.Add;
        }

        [TearDown]
        public void Restore()
        {
            Messages.HandlerFailed -= failures.Add;
            Engine.SetFullscreen(false);
            Run("set_system_value", "Name", "standin_null_os_handle", "Value", "false");
            Engine.SetVerbosity(false);
            failures.Clear();
        }

        [TestCaseSource("Cases")]
        public void CallsTheLibrary(Action send, Func<object> call, object expected)
        {
            var results = new List<object>();
            bool entered = false;
            // Once only: the call may send messages of its own (a window opening does).
            Action<string> handler = line =>
            {
                if (entered) return;
                entered = true;
                results.Add(call());
            };
            Setup.WithStandardError(() =>
            {
                send();
                results.Add("sent");
            }, handler);
            CollectionAssert.AreEqual(new[] { expected, "sent" }, results);
            CollectionAssert.IsEmpty(failures);
            Assert.IsFalse(Messages.InsideHandler);
        }

        [Test]
        public void AFailingCallInAHandlerIsReportedAndTheSenderCompletes()
        {
            bool sent = false;
            Setup.WithStandardError(() =>
            {
                OpenWindowThatFailsFullscreen();
                sent = true;
            }, line => Engine.GetSystem("no_such_parameter"));
            Assert.IsTrue(sent);
            Assert.AreEqual(1, failures.Count);
            Assert.IsInstanceOf<QuorvexException>(failures[0]);
            Assert.AreEqual(ErrorKind.Operator, ((QuorvexException)failures[0]).Kind);
        }

        // A call object whose run sends the message, how it runs, and the stand-ins' count of
        // its kind.
        private static IEnumerable<TestCaseData> RunningCalls()
        {
            yield return new TestCaseData((Func<IDisposable>)ReportingProcedureCall, (Action<IDisposable>)(call => ((ProcedureCall)call).Execute()),
                                          "procedure_calls").SetName("AHandlerThatDisposesTheRunningProcedureCall");
            yield return new TestCaseData((Func<IDisposable>)ReportingProgramCall, (Action<IDisposable>)(call => ((ProgramCall)call).Execute()),
                                          "program_calls").SetName("AHandlerThatDisposesTheRunningProgramCall");
        }

        [TestCaseSource("RunningCalls")]
        public void LeavesTheCallUntilTheRunReturns(Func<IDisposable> make, Action<IDisposable> run, string kind)
        {
            string live = "standin_live_" + kind;
            object before = Engine.GetSystem(live);
            IDisposable call = make();
            Setup.WithStandardError(() => run(call), line => call.Dispose());
            CollectionAssert.IsEmpty(failures);
            Assert.AreEqual(before, Engine.GetSystem(live), "released after the run");
        }

        private static IDisposable ReportingProcedureCall()
        {
            using (var procedure = new Procedure(Setup.ReportName))
            {
                ProcedureCall call = procedure.CreateCall();
                call.SetInput("Text", "from a procedure call");
                return call;
            }
        }

        private static IDisposable ReportingProgramCall()
        {
            using (var program = new HDevProgram(Setup.Data("tests/data/programs/report_low_level.hdev"))) return program.CreateCall();
        }

        private static IDictionary<string, object[]> Run(string procedure, params object[] namesAndValues)
        {
            var inputs = new Dictionary<string, object>();
            for (int i = 0; i < namesAndValues.Length; i += 2) inputs.Add((string)namesAndValues[i], namesAndValues[i + 1]);
            using (var run = new Procedure(procedure)) return run.Execute(inputs);
        }

        private static void OpenWindowThatFailsFullscreen()
        {
            Run("set_system_value", "Name", "standin_null_os_handle", "Value", "true");
            Engine.SetFullscreen(true);
            Engine.OpenDefaultWindow();
        }

        private static object OpenDefaultWindow()
        {
            Engine.OpenDefaultWindow();
            return "opened";
        }

        private static string Name(object description)
        {
            var name = new System.Text.StringBuilder();
            foreach (string word in ((string)description).Split(' ')) name.Append(char.ToUpperInvariant(word[0])).Append(word.Substring(1));
            return name.ToString();
        }
    }
}
