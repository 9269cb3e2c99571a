using System;
using System.Reflection;
using System.Runtime.InteropServices;
using NUnit.Framework;
using Quorvex;

namespace Quorvex.Tests
{
    // The shape of the imports: what the marshaller would get wrong without a sound.
    [TestFixture]
    public class BoundaryTests
    {
        private static MethodInfo[] Imports()
        {
            Type native = typeof(Engine).Assembly.GetType("Quorvex.NativeMethods", true);
            return native.GetMethods(BindingFlags.Static | BindingFlags.NonPublic);
        }

        [Test]
        public void NoImportHandsTheMarshallerATextToFree()
        {
            foreach (MethodInfo import in Imports())
            {
                Assert.AreNotEqual(typeof(string), import.ReturnType, import.Name + " returns a string");
                foreach (ParameterInfo parameter in import.GetParameters())
                    Assert.IsFalse(parameter.ParameterType == typeof(string).MakeByRefType(),
                                   import.Name + " has a string out-parameter");
            }
        }

        [Test]
        public void EveryImportAndTheCallbackAreCdecl()
        {
            int count = 0;
            foreach (MethodInfo import in Imports())
            {
                if ((import.Attributes & MethodAttributes.PinvokeImpl) == 0) continue;
                var attribute = (DllImportAttribute)Attribute.GetCustomAttribute(import, typeof(DllImportAttribute));
                Assert.IsNotNull(attribute, import.Name);
                if (attribute.Value == "kernel32" || attribute.Value.StartsWith("libdl")) continue;
                Assert.AreEqual(CallingConvention.Cdecl, attribute.CallingConvention, import.Name);
                ++count;
            }
            Assert.GreaterOrEqual(count, 40);
            Type callback = typeof(Engine).Assembly.GetType("Quorvex.NativeMethods+MessageCallback", true);
            var convention = (UnmanagedFunctionPointerAttribute)Attribute.GetCustomAttribute(callback, typeof(UnmanagedFunctionPointerAttribute));
            Assert.IsNotNull(convention);
            Assert.AreEqual(CallingConvention.Cdecl, convention.CallingConvention);
        }
    }
}
