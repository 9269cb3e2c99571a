using System;
using System.Collections.Generic;
using NUnit.Framework;
using Quorvex;

namespace Quorvex.Tests
{
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
            using (var program = new Program(Setup.Data("tests/data/programs/set_marker.hdev")))
            using (ProgramCall call = program.CreateCall())
            {
                call.Execute();
                Assert.AreEqual(42L, Engine.GetSystem("quorvex_test_marker"));
            }
        }
    }
}
