using System;
using System.Collections.Generic;
using NUnit.Framework;
using Quorvex;

namespace Quorvex.Tests
{
    [TestFixture]
    public class LifetimeTests
    {
        private static long Live(string kind)
        {
            return (long)Engine.GetSystem("standin_live_" + kind);
        }

        [Test]
        public void ACallKeepsItsDisposedProcedureAlive()
        {
            long before = Live("procedures");
            var add = new Procedure("add");
            ProcedureCall call = add.CreateCall();
            add.Dispose();
            Assert.Throws<ObjectDisposedException>(() => add.CreateCall());
            Assert.AreEqual(before + 1, Live("procedures"));
            call.SetInput("A", 4);
            call.SetInput("B", 5);
            call.Execute();
            Assert.AreEqual(new object[] { 9L }, call.GetOutputValues("Sum"));
            call.Dispose();
            Assert.AreEqual(before, Live("procedures"));
        }

        // A call the library fails to make leaves nothing behind: the procedure's reference
        // taken for it is given back, so that disposing the procedure releases it.
        [Test]
        public void AFailedCallCreationHoldsNothing()
        {
            long procedures = Live("procedures"), calls = Live("procedure_calls");
            var add = new Procedure("add");
            using (var arm = new Procedure("arm_nth_fault"))
                arm.Execute(new Dictionary<string, object> { { "Operation", "HDevProcedureCall" }, { "Number", 9999 }, { "N", 1 } });
            var e = Assert.Throws<QuorvexException>(() => add.CreateCall());
            Assert.AreEqual(9999, e.ErrorCode);
            Assert.AreEqual(calls, Live("procedure_calls"));
            add.Dispose();
            Assert.AreEqual(procedures, Live("procedures"));
        }

        // An output that cannot be read is an exception and leaves no tuple behind.
        [TestCase(0)]
        [TestCase(2)]
        [TestCase(-1)]
        public void AnOutputOutOfRangeLeavesNoTuple(int index)
        {
            using (var add = new Procedure("add"))
            using (ProcedureCall call = add.CreateCall())
            {
                call.SetInput(1, 2);
                call.SetInput(2, 3);
                call.Execute();
                long tuples = Live("tuples");
                Assert.Throws<QuorvexException>(() => call.GetOutput(index));
                Assert.AreEqual(tuples, Live("tuples"));
                using (ControlTuple sum = call.GetOutput(1)) Assert.AreEqual(5L, sum.GetInteger(0));
            }
        }

        // SetInput(int, int) and GetInteger hold the handle as the other calls do.
        [Test]
        public void TheUnboxedInputAndTheIntegerReadRefuseDisposedObjects()
        {
            using (var add = new Procedure("add"))
            {
                ProcedureCall call = add.CreateCall();
                ControlTuple tuple = new ControlTuple(7);
                call.Dispose();
                tuple.Dispose();
                Assert.Throws<ObjectDisposedException>(() => call.SetInput(1, 2));
                Assert.Throws<ObjectDisposedException>(() => call.SetInput("A", 2));
                Assert.Throws<ObjectDisposedException>(() => tuple.GetInteger(0));
            }
        }

        [Test]
        public void ForgottenObjectsAreReleasedByTheCollector()
        {
            Setup.Collect();
            long procedures = Live("procedures"), calls = Live("procedure_calls"), programs = Live("programs");
            long tuples = Live("tuples");
            // Mono scans stacks conservatively: forgotten on a thread of their own, whose stack
            // is gone when it has ended.
            var thread = new System.Threading.Thread(Forget);
            thread.Start();
            thread.Join();
            Setup.Collect();
            Assert.AreEqual(procedures, Live("procedures"));
            Assert.AreEqual(calls, Live("procedure_calls"));
            Assert.AreEqual(programs, Live("programs"));
            Assert.AreEqual(tuples, Live("tuples"));
        }

        private static void Forget()
        {
            for (int i = 0; i < 10; ++i)
            {
                new Procedure("add").CreateCall().SetInput(1, new ControlTuple(i));
                new HDevProgram(Setup.Data("tests/data/programs/set_marker.hdev")).CreateCall();
            }
        }

        // A disposed tuple or call stays disposed when the library objects made after it, on
        // the same thread, take its place: it neither reads nor releases theirs.
        [Test]
        public void ADisposedObjectNeverReachesItsSuccessor()
        {
            using (var add = new Procedure("add"))
            {
                var first = new ControlTuple(1);
                ProcedureCall firstCall = add.CreateCall();
                first.Dispose();
                firstCall.Dispose();
                using (var second = new ControlTuple(2))
                using (ProcedureCall secondCall = add.CreateCall())
                {
                    Assert.Throws<ObjectDisposedException>(() => first.GetInteger(0));
                    Assert.Throws<ObjectDisposedException>(() => firstCall.SetInput(1, 3));
                    first.Dispose();
                    firstCall.Dispose();
                    Assert.AreEqual(2L, second.GetInteger(0));
                    secondCall.SetInput(1, second);
                    secondCall.SetInput(2, 5);
                    secondCall.Execute();
                    using (ControlTuple sum = secondCall.GetOutput(1)) Assert.AreEqual(7L, sum.GetInteger(0));
                }
            }
        }

        // The message arrives while hprocedurecallExecute runs; the handler disposes the call
        // and its procedure. Their handles are released only when the call has returned.
        [Test]
        public void DisposingDuringTheCallDefersTheRelease()
        {
            long procedures = Live("procedures"), calls = Live("procedure_calls");
            var procedure = new Procedure(Setup.ReportName);
            ProcedureCall call = procedure.CreateCall();
            long during = -1;
            Action<string> disposing = line =>
            {
                call.Dispose();
                procedure.Dispose();
                during = Live("procedure_calls");
            };
            Engine.SetVerbosity(true);
            call.SetInput("Text", "dispose now");
            try
            {
                Setup.WithStandardError(call.Execute, disposing);
            }
            finally
            {
                Engine.SetVerbosity(false);
            }
            Assert.AreEqual(calls + 1, during, "the call was still alive inside its own execution");
            Assert.IsTrue(call.IsDisposed);
            Assert.AreEqual(calls, Live("procedure_calls"));
            Assert.AreEqual(procedures, Live("procedures"));
        }

        // The library drops a refused append silently, and an input set from the empty tuple
        // would run the procedure on nothing. The second tuple construction from the arming
        // on is the value's (after the input tuple's own); nothing made may stay alive.
        [Test]
        public void ARefusedInputValueIsReportedAndLeavesNothing()
        {
            var ways = new Dictionary<string, Action<Procedure, object>>
            {
                { "SetInput(int, int)", (add, value) => { using (var call = add.CreateCall()) call.SetInput(1, (int)value); } },
                { "SetInput(string, object)", (add, value) => { using (var call = add.CreateCall()) call.SetInput("A", value); } },
                { "Execute", (add, value) => add.Execute(new Dictionary<string, object> { { "A", value }, { "B", 1 } }) },
            };
            using (var arm = new Procedure("arm_nth_fault"))
            using (var add = new Procedure("add"))
            {
                foreach (KeyValuePair<string, Action<Procedure, object>> way in ways)
                {
                    foreach (object value in way.Key == "SetInput(int, int)" ? new object[] { 5 } : new object[] { 5, 2.5, "x" })
                    {
                        long tuples = Live("tuples");
                        arm.Execute(new Dictionary<string, object> { { "Operation", "HTuple" }, { "Number", 9999 }, { "N", 2 } });
                        var e = Assert.Throws<InvalidOperationException>(() => way.Value(add, value), way.Key + " " + value);
                        StringAssert.Contains("refused", e.Message);
                        Assert.AreEqual(tuples, Live("tuples"), way.Key + " " + value);
                    }
                }
            }
        }
    }
}
