using System;
using System.Reflection;
using NUnit.Framework;
using Quorvex;

namespace Quorvex.Tests
{
    // The tuple functions run as Mono's raw internal calls where they can, else as P/Invoke;
    // the suite runs once each way (QUORVEX_DOTNET_RAW_CALLS=0 the second time), and both give
    // the same answers, out of range included (where the raw path must not reach the library).
    [TestFixture]
    public class TupleCallTests
    {
        [Test]
        public void TheTupleCallsAreDirectOnMonoUnlessAskedNotTo()
        {
            Engine.Init();
            Type reads = typeof(Engine).Assembly.GetType("Quorvex.TupleCalls", true);
            var direct = (bool)reads.GetField("Direct", BindingFlags.Static | BindingFlags.NonPublic).GetValue(null);
            bool expected = Type.GetType("Mono.Runtime") != null && Library.Path != null &&
                            Environment.GetEnvironmentVariable("QUORVEX_DOTNET_RAW_CALLS") != "0";
            Assert.AreEqual(expected, direct);
        }

        // Index, then what TypeAt, GetInteger and GetReal give on [7, 2.5, "x"]: a value, or
        // the exception's type.
        internal static readonly object[][] Cases =
        {
            new object[] { -1, typeof(ArgumentOutOfRangeException), typeof(ArgumentOutOfRangeException), typeof(ArgumentOutOfRangeException) },
            new object[] { 0, ElementType.Integer, 7L, 7.0 },
            new object[] { 1, ElementType.Real, typeof(InvalidCastException), 2.5 },
            new object[] { 2, ElementType.String, typeof(InvalidCastException), typeof(InvalidCastException) },
            new object[] { 3, typeof(ArgumentOutOfRangeException), typeof(ArgumentOutOfRangeException), typeof(ArgumentOutOfRangeException) },
            new object[] { int.MinValue, typeof(ArgumentOutOfRangeException), typeof(ArgumentOutOfRangeException), typeof(ArgumentOutOfRangeException) },
        };

        private static void Expect(object expected, Func<object> read)
        {
            var error = expected as Type;
            if (error != null) Assert.Throws(error, () => read());
            else Assert.AreEqual(expected, read());
        }

        [Test, TestCaseSource("Cases")]
        public void EachReadGivesTheElementOrNamesTheFault(int index, object type, object integer, object real)
        {
            using (var tuple = new ControlTuple(7, 2.5, "x"))
            {
                Assert.AreEqual(3, tuple.Length);
                Expect(type, () => tuple.TypeAt(index));
                Expect(integer, () => tuple.GetInteger(index));
                Expect(real, () => tuple.GetReal(index));
            }
        }
    }
}
