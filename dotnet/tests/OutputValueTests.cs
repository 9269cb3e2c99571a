using System;
using System.Collections.Generic;
using NUnit.Framework;
using Quorvex;

namespace Quorvex.Tests
{
    // An output's values read typed: integers come boxed as long, so a plain cast to int
    // throws; the accessors convert, checked, and name what the element is otherwise.
    [TestFixture]
    public class OutputValueTests
    {
        private static object[] Sum(object a, object b)
        {
            using (var add = new Procedure("add"))
                return add.Execute(new Dictionary<string, object> { { "A", a }, { "B", b } })["Sum"];
        }

        // The sum, how it is read, and what the read gives (a value, or the exception's type).
        internal static readonly object[][] Cases =
        {
            new object[] { 2, 3, "Int32", 5 },
            new object[] { 2, 3, "Int64", 5L },
            new object[] { 2, 3, "Double", 5.0 },
            new object[] { 2, 3, "String", typeof(InvalidCastException) },
            new object[] { 2.5, 1, "Double", 3.5 },
            new object[] { 2.5, 1, "Int32", typeof(InvalidCastException) },
            new object[] { 2.5, 1, "Int64", typeof(InvalidCastException) },
            new object[] { "a", "b", "String", "ab" },
            new object[] { "a", "b", "Double", typeof(InvalidCastException) },
        };

        private static object Read(object[] values, string how)
        {
            switch (how)
            {
                case "Int32": return values.GetInt32();
                case "Int64": return values.GetInt64();
                case "Double": return values.GetDouble();
                default: return values.GetString();
            }
        }

        [Test, TestCaseSource("Cases")]
        public void EachAccessorReadsItsTypeOnly(object a, object b, string how, object expected)
        {
            object[] values = Sum(a, b);
            var error = expected as Type;
            if (error == null)
            {
                object read = Read(values, how);
                Assert.AreEqual(expected, read);
                Assert.AreEqual(expected.GetType(), read.GetType());
            }
            else
            {
                Assert.Throws(error, () => Read(values, how));
            }
        }

        [Test]
        public void AnIntegerBeyond32BitsOverflowsAsInt32Only()
        {
            object[] values = Sum(int.MaxValue, 1);
            if (IntPtr.Size == 4) Assert.Ignore("the engine's integers are 32 bits wide here");
            Assert.AreEqual(2147483648L, values.GetInt64());
            Assert.Throws<OverflowException>(() => values.GetInt32());
        }

        // A * B + C on the engine's 64-bit integers, read through an interface that passes 32
        // bits and a double: exact up to 2^53 in magnitude, refused beyond (-1 for refused).
        [TestCase(65536, 32768, 0, 2147483648L)]
        [TestCase(-65536, 32768, -1, -2147483649L)]
        [TestCase(67108864, 134217728, 0, 9007199254740992L)]
        [TestCase(-67108864, 134217728, 0, -9007199254740992L)]
        [TestCase(67108864, 134217728, -1, 9007199254740991L)]
        [TestCase(67108864, 134217728, 1, -1L)]
        [TestCase(-67108864, 134217728, -1, -1L)]
        [TestCase(2147483647, 2147483647, 0, -1L)]
        public void AnIntegerIsExactUpTo2To53(int a, int b, int c, long expected)
        {
            if (IntPtr.Size == 4) Assert.Ignore("the engine's integers are 32 bits wide here");
            using (var multiplyAdd = new Procedure("multiply_add"))
            using (ProcedureCall call = multiplyAdd.CreateCall())
            {
                call.SetInput("A", a);
                call.SetInput("B", b);
                call.SetInput("C", c);
                call.Execute();
                using (ControlTuple value = call.GetOutput("Value"))
                {
                    if (expected == -1) Assert.Throws<OverflowException>(() => value.GetInteger(0));
                    else Assert.AreEqual(expected, value.GetInteger(0));
                }
            }
        }

        [Test]
        public void AnElementOutOfRangeIsNamed()
        {
            object[] values = Sum(1, 2);
            Assert.Throws<ArgumentOutOfRangeException>(() => values.GetInt32(1));
            Assert.Throws<ArgumentOutOfRangeException>(() => values.GetInt32(-1));
        }

        [Test]
        public void NoPublicTypeTakesANameAConsoleTemplateUses()
        {
            foreach (Type type in typeof(Procedure).Assembly.GetExportedTypes())
                Assert.AreNotEqual("Program", type.Name, type.FullName);
        }
    }
}
