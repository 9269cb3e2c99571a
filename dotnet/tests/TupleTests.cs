using System;
using System.Text;
using NUnit.Framework;
using Quorvex;

namespace Quorvex.Tests
{
    [TestFixture]
    public class TupleTests
    {
        [Test]
        public void ValuesComeBackAsTheyWent()
        {
            using (var tuple = new ControlTuple(7, -2147483648L, 2.5, "Größe ✓", true, new[] { 1, 2 }))
            {
                Assert.AreEqual(new object[] { 7L, -2147483648L, 2.5, "Größe ✓", 1L, 1L, 2L }, tuple.ToArray());
                Assert.AreEqual(ElementType.Real, tuple.TypeAt(2));
                Assert.AreEqual("[7, -2147483648, 2.5, 'Größe ✓', 1, 1, 2]", tuple.ToString());
            }
            Assert.IsInstanceOf<long>(Engine.GetSystem("width"), "system parameters are values too");
        }

        [Test]
        public void ManyStringsAreCopiedAndReleasedByTheLibrary()
        {
            using (var tuple = new ControlTuple())
            {
                for (int i = 0; i < 2000; ++i) tuple.Append("text number " + i);
                for (int round = 0; round < 3; ++round)
                    for (int i = 0; i < 2000; ++i) Assert.AreEqual("text number " + i, tuple.GetString(i));
            }
        }

        [Test]
        public void BytesPassUnconvertedAndTheEncodingIsConfigurable()
        {
            var raw = new byte[] { 0x63, 0x61, 0x66, 0xe9, 0xff };
            using (var tuple = new ControlTuple().AppendBytes(raw)) Assert.AreEqual(raw, tuple.GetBytes(0));
            Encoding saved = Engine.Encoding;
            try
            {
                Engine.Encoding = Encoding.GetEncoding("iso-8859-1");
                using (var tuple = new ControlTuple("é"))
                {
                    Assert.AreEqual(new byte[] { 0xe9 }, tuple.GetBytes(0));
                    Assert.AreEqual("é", tuple.GetString(0));
                }
            }
            finally
            {
                Engine.Encoding = saved;
            }
            using (var tuple = new ControlTuple("é")) Assert.AreEqual(new byte[] { 0xc3, 0xa9 }, tuple.GetBytes(0));
        }

        [Test]
        public void AnEmbeddedNulIsRefusedNotCut()
        {
            using (var tuple = new ControlTuple())
            {
                Assert.Throws<ArgumentException>(() => tuple.Append("ab\0cd"));
                Assert.Throws<ArgumentException>(() => tuple.AppendBytes(new byte[] { 1, 0, 2 }));
                Assert.AreEqual(0, tuple.Length);
            }
            Assert.Throws<ArgumentException>(() => Engine.AddProcedurePath("a\0b"));
        }

        [Test]
        public void IntegersBeyond32BitsAreRefusedAndWrongTypesNamed()
        {
            using (var tuple = new ControlTuple())
            {
                Assert.Throws<OverflowException>(() => tuple.Append(1L << 32));
                Assert.Throws<ArgumentException>(() => tuple.Append(new object[] { new[] { 1 } }));
                tuple.Append("x");
                Assert.Throws<InvalidCastException>(() => tuple.GetInteger(0));
                Assert.Throws<ArgumentOutOfRangeException>(() => tuple.GetString(1));
            }
        }

        [Test]
        public void ADisposedTupleIsRefusedNotPassedOn()
        {
            var tuple = new ControlTuple(1);
            tuple.Dispose();
            tuple.Dispose();
            Assert.IsTrue(tuple.IsDisposed);
            Assert.Throws<ObjectDisposedException>(() => { int n = tuple.Length; });
        }
    }
}
