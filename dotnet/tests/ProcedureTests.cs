using System;
using System.Collections.Generic;
using NUnit.Framework;
using Quorvex;

namespace Quorvex.Tests
{
    // Procedures and programs run, and the records of their failures: the record's fields land
    // where the library put them, as a wrong layout (eight 32-bit fields on a 64-bit target,
    // say) would give wrong numbers or unreadable texts.
    [TestFixture]
    public class ProcedureTests
    {
        [Test]
        public void AProcedureRunsWithInputsByName()
        {
            using (var add = new Procedure("add"))
            {
                Assert.AreEqual(new[] { "A", "B" }, add.InputControlNames);
                Assert.AreEqual(new[] { "Sum" }, add.OutputControlNames);
                var outputs = add.Execute(new Dictionary<string, object> { { "A", 2 }, { "B", 3.5 } });
                Assert.AreEqual(new object[] { 5.5 }, outputs["Sum"]);
            }
        }

        [Test]
        public void AReusedCallGivesEachRunsResult()
        {
            using (var add = new Procedure("add"))
            using (ProcedureCall call = add.CreateCall())
            {
                for (int i = 0; i < 50; ++i)
                {
                    call.SetInput(1, i);
                    call.SetInput("B", new ControlTuple(1000));
                    call.Execute();
                    using (ControlTuple sum = call.GetOutput("Sum")) Assert.AreEqual(1000L + i, sum.GetInteger(0));
                }
            }
        }

        // The integer overloads of SetInput, by position and by name, and their refusals.
        [Test]
        public void IntegerInputsByPositionAndName()
        {
            using (var add = new Procedure("add"))
            using (ProcedureCall call = add.CreateCall())
            {
                call.SetInput(1, int.MaxValue);
                call.SetInput("B", -1);
                call.Execute();
                using (ControlTuple sum = call.GetOutput(1)) Assert.AreEqual((long)int.MaxValue - 1, sum.GetInteger(0));
                Assert.Throws<QuorvexException>(() => call.SetInput(3, 1));
                Assert.Throws<ArgumentException>(() => call.SetInput("C", 1));
                using (var text = new ControlTuple("x"))
                {
                    Assert.Throws<InvalidCastException>(() => text.GetInteger(0));
                    Assert.Throws<ArgumentOutOfRangeException>(() => text.GetInteger(1));
                }
            }
        }

        [Test]
        public void UnknownNamesAreNamedInTheError()
        {
            using (var add = new Procedure("add"))
            using (ProcedureCall call = add.CreateCall())
            {
                var e = Assert.Throws<ArgumentException>(() => call.SetInput("C", 1));
                StringAssert.Contains("A, B", e.Message);
            }
        }

        [Test]
        public void AProgramRunsItsMain()
        {
            using (var program = new HDevProgram(Setup.Data("tests/data/programs/set_marker.hdev")))
            using (ProgramCall call = program.CreateCall())
            {
                call.Execute();
                Assert.AreEqual(42L, Engine.GetSystem("quorvex_test_marker"));
            }
        }

        [Test]
        public void AnEngineFailureCarriesEveryField()
        {
            using (var procedure = new Procedure("fail_at_line3"))
            {
                var e = Assert.Throws<QuorvexException>(() => procedure.Execute(new Dictionary<string, object>()));
                Assert.AreEqual(ErrorKind.Engine, e.Kind);
                Assert.AreEqual("fail_at_line3", e.ProcedureName);
                Assert.AreEqual("get_system", e.LineName);
                Assert.AreEqual(3, e.LineNumber);
                Assert.AreEqual(1301, e.ErrorCode);
                Assert.AreEqual("Wrong value of control parameter 1", e.ErrorText);
                StringAssert.Contains("get_system", e.Message);
            }
        }

        [Test]
        public void AnOperatorFailure()
        {
            var e = Assert.Throws<QuorvexException>(() => Engine.GetSystem("no_such_parameter"));
            Assert.AreEqual(ErrorKind.Operator, e.Kind);
            Assert.AreEqual("get_system", e.ProcedureName);
            Assert.IsNull(e.LineName);
            Assert.AreEqual(-1, e.LineNumber);
            Assert.AreEqual(1301, e.ErrorCode);
        }

        [Test]
        public void AMessageOfTheLibrary()
        {
            var e = Assert.Throws<QuorvexException>(Engine.StartDebugServer);
            Assert.AreEqual(ErrorKind.Message, e.Kind);
            Assert.IsNull(e.ProcedureName);
            Assert.IsNull(e.ErrorText);
            Assert.AreEqual(-1, e.ErrorCode);
            Assert.AreEqual(-1, e.LineNumber);
            Assert.IsNotEmpty(e.Message);
        }

        [Test]
        public void AMissingProcedureIsAnError()
        {
            Assert.Throws<QuorvexException>(() => new Procedure("no_such_procedure").Dispose());
            Assert.Throws<QuorvexException>(() => new HDevProgram(Setup.Data("no/such/program.hdev")).Dispose());
        }
    }
}
