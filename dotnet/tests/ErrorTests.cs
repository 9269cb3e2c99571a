using System;
using System.Collections.Generic;
using NUnit.Framework;
using Quorvex;

namespace Quorvex.Tests
{
    // The record's fields land where the library put them: a wrong layout (eight 32-bit
    // fields on a 64-bit target, say) gives wrong numbers or unreadable texts here.
    [TestFixture]
    public class ErrorTests
    {
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
            Assert.Throws<QuorvexException>(() => new Program(Setup.Data("no/such/program.hdev")).Dispose());
        }
    }
}
