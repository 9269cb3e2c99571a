using System;
using System.Runtime.InteropServices;
using System.Text;

namespace Quorvex
{
    // Texts cross the boundary as bytes: encoded here, NUL-terminated, and read back from
    // pointers that the library still owns, so each side frees only its own memory.
    internal static class Text
    {
        internal static byte[] Encode(string value, string what)
        {
            if (value == null) throw new ArgumentNullException(what);
            if (value.IndexOf('\0') >= 0)
                throw new ArgumentException(what + " holds a NUL character, which would cut the text short", what);
            Encoding encoding = Engine.Encoding;
            var bytes = new byte[encoding.GetByteCount(value) + 1];
            encoding.GetBytes(value, 0, value.Length, bytes, 0);
            return bytes;
        }

        internal static byte[] Terminate(byte[] value, string what)
        {
            if (value == null) throw new ArgumentNullException(what);
            if (Array.IndexOf(value, (byte)0) >= 0)
                throw new ArgumentException(what + " holds a NUL byte, which would cut the text short", what);
            var bytes = new byte[value.Length + 1];
            Buffer.BlockCopy(value, 0, bytes, 0, value.Length);
            return bytes;
        }

        internal static byte[] Bytes(IntPtr text)
        {
            if (text == IntPtr.Zero) return null;
            int length = 0;
            while (Marshal.ReadByte(text, length) != 0) ++length;
            var bytes = new byte[length];
            Marshal.Copy(text, bytes, 0, length);
            return bytes;
        }

        internal static string Copy(IntPtr text, Encoding encoding)
        {
            byte[] bytes = Bytes(text);
            return bytes == null ? null : encoding.GetString(bytes);
        }

        internal static string Copy(IntPtr text)
        {
            return Copy(text, Engine.Encoding);
        }
    }
}
