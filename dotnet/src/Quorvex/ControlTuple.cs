using System;
using System.Collections;
using System.Collections.Generic;
using System.Runtime.CompilerServices;

namespace Quorvex
{
    /// <summary>The kind of a tuple element, with the library's codes.</summary>
    public enum ElementType
    {
        /// <summary>No element: the index is out of range.</summary>
        None = 0,
        /// <summary>An integer, read back as <see cref="long"/>.</summary>
        Integer = 1,
        /// <summary>A real, read back as <see cref="double"/>.</summary>
        Real = 2,
        /// <summary>A string, read back as <see cref="string"/> (or its bytes).</summary>
        String = 4,
    }

    /// <summary>
    /// A control tuple owned by this object. Elements are integers (read back as
    /// <see cref="long"/>), reals (<see cref="double"/>) and strings.
    /// </summary>
    public sealed class ControlTuple : IDisposable
    {
        private const double ExactLimit = 9007199254740992.0; // 2^53

        private readonly CountedHandle handle;
        private readonly int generation;
        private volatile bool disposed;

        /// <summary>A new empty tuple.</summary>
        public ControlTuple()
        {
            Library.Ensure();
            handle = CountedHandle.Rent(CountedHandle.Kind.Tuple);
            generation = Create(handle);
        }

        // Compiled, and its import bound, only after Library.Ensure (see Engine).
        [MethodImpl(MethodImplOptions.NoInlining)]
        private static int Create(CountedHandle created)
        {
            IntPtr tuple;
            try
            {
                QuorvexException.Check(TupleCalls.Create(out tuple));
            }
            catch
            {
                created.Abandon();
                throw;
            }
            return created.Adopt(tuple);
        }

        // Over a tuple the caller made into `created` (see ProcedureCall.GetOutput).
        internal ControlTuple(CountedHandle created, int generation)
        {
            handle = created;
            this.generation = generation;
        }

        // The tuple for native calls until the matching Release; a Dispose meanwhile takes
        // effect after it.
        [MethodImpl(MethodImplOptions.AggressiveInlining)]
        internal IntPtr Acquire()
        {
            IntPtr tuple = handle.Acquire(generation);
            if (tuple == IntPtr.Zero) throw new ObjectDisposedException("ControlTuple");
            return tuple;
        }

        [MethodImpl(MethodImplOptions.AggressiveInlining)]
        internal void Release()
        {
            handle.Release();
        }

        /// <summary>A tuple of the values, each converted as <see cref="Append(object)"/> does.</summary>
        public ControlTuple(params object[] values) : this()
        {
            try
            {
                foreach (object value in values) Append(value);
            }
            catch
            {
                Dispose();
                throw;
            }
        }

        /// <summary>A tuple of one value, or of each element of an array or list.</summary>
        public static ControlTuple From(object value)
        {
            var tuple = value as ControlTuple;
            if (tuple != null) return tuple.Copy();
            var result = new ControlTuple();
            try
            {
                result.Append(value);
                return result;
            }
            catch
            {
                result.Dispose();
                throw;
            }
        }

        /// <summary>The number of elements.</summary>
        /// <exception cref="ObjectDisposedException">The tuple is disposed.</exception>
        public int Length
        {
            get
            {
                IntPtr tuple = Acquire();
                try
                {
                    return TupleCalls.Length(tuple);
                }
                finally
                {
                    Release();
                }
            }
        }

        /// <summary>Appends an integer element.</summary>
        /// <returns>This tuple.</returns>
        /// <exception cref="ObjectDisposedException">The tuple is disposed.</exception>
        public ControlTuple Append(int value)
        {
            IntPtr tuple = Acquire();
            try
            {
                TupleCalls.AppendLong(tuple, value);
            }
            finally
            {
                Release();
            }
            return this;
        }

        /// <summary>Appends an integer; the library passes integers as 32 bits.</summary>
        public ControlTuple Append(long value)
        {
            if (value < int.MinValue || value > int.MaxValue)
                throw new OverflowException("integer " + value + " is beyond the 32 bits the library passes; append it as a double for a real");
            return Append((int)value);
        }

        /// <summary>Appends a real element.</summary>
        /// <returns>This tuple.</returns>
        /// <exception cref="ObjectDisposedException">The tuple is disposed.</exception>
        public ControlTuple Append(double value)
        {
            IntPtr tuple = Acquire();
            try
            {
                TupleCalls.AppendDouble(tuple, value);
            }
            finally
            {
                Release();
            }
            return this;
        }

        /// <summary>Appends a string element, encoded with <see cref="Engine.Encoding"/>.</summary>
        /// <returns>This tuple.</returns>
        /// <exception cref="ArgumentNullException"><paramref name="value"/> is null.</exception>
        /// <exception cref="ArgumentException"><paramref name="value"/> holds a NUL character.</exception>
        /// <exception cref="ObjectDisposedException">The tuple is disposed.</exception>
        public ControlTuple Append(string value)
        {
            byte[] text = Text.Encode(value, "value");
            IntPtr tuple = Acquire();
            try
            {
                NativeMethods.happendTupleString(tuple, text);
            }
            finally
            {
                Release();
            }
            return this;
        }

        /// <summary>Appends a string element of these bytes, not converted.</summary>
        public ControlTuple AppendBytes(byte[] value)
        {
            byte[] text = Text.Terminate(value, "value");
            IntPtr tuple = Acquire();
            try
            {
                NativeMethods.happendTupleString(tuple, text);
            }
            finally
            {
                Release();
            }
            return this;
        }

        /// <summary>Appends a value: an integer type, bool, float, double, decimal, string,
        /// byte[] (a string of those bytes), or a list or array of those (one element each).</summary>
        public ControlTuple Append(object value)
        {
            if (value == null) throw new ArgumentNullException("value");
            if (value is string) return Append((string)value);
            if (value is byte[]) return AppendBytes((byte[])value);
            if (value is double || value is float || value is decimal) return Append(Convert.ToDouble(value));
            if (value is bool) return Append((bool)value ? 1 : 0);
            if (value is int || value is long || value is short || value is sbyte || value is byte ||
                value is ushort || value is uint)
                return Append(Convert.ToInt64(value));
            if (value is ulong)
            {
                if ((ulong)value > int.MaxValue) throw new OverflowException("integer " + value + " is beyond the 32 bits the library passes");
                return Append((int)(ulong)value);
            }
            var items = value as IEnumerable;
            if (items != null)
            {
                foreach (object item in items)
                {
                    if (item is IEnumerable && !(item is string) && !(item is byte[]))
                        throw new ArgumentException("a tuple is flat: nested lists cannot be appended");
                    Append(item);
                }
                return this;
            }
            throw new ArgumentException("a " + value.GetType() + " cannot become a tuple element");
        }

        /// <summary>The type of the element at <paramref name="index"/>, from 0.</summary>
        /// <exception cref="ArgumentOutOfRangeException">The index is out of range.</exception>
        /// <exception cref="ObjectDisposedException">The tuple is disposed.</exception>
        public ElementType TypeAt(int index)
        {
            IntPtr tuple = Acquire();
            ElementType type;
            try
            {
                type = (ElementType)TupleCalls.Type(tuple, index);
            }
            finally
            {
                Release();
            }
            // The library gives 0 for an index out of range: only then is the length read.
            if (type == ElementType.None) Checked(index);
            return type;
        }

        /// <summary>An integer element, exact up to 2^53 in magnitude (the library passes the
        /// low 32 bits and the value as a double); a wider one raises OverflowException.</summary>
        public long GetInteger(int index)
        {
            int type, low;
            double real;
            IntPtr tuple = Acquire();
            try
            {
                type = TupleCalls.Type(tuple, index);
                real = type == (int)ElementType.Integer ? TupleCalls.Double(tuple, index) : 0;
                // Below 2^53 in magnitude the double is the value itself; at 2^53 it may be
                // 2^53 + 1 rounded, which only the low bits tell.
                low = real > -ExactLimit && real < ExactLimit ? unchecked((int)(long)real)
                    : type == (int)ElementType.Integer ? TupleCalls.Long(tuple, index) : 0;
            }
            finally
            {
                Release();
            }
            if (type != (int)ElementType.Integer) throw WrongType(index, "an integer");
            if (!(real >= -ExactLimit && real <= ExactLimit) || (int)unchecked((long)real) != low)
                throw new OverflowException("element " + index + " is an integer beyond +-2^53");
            return (long)real;
        }

        /// <summary>A real element, or an integer element converted.</summary>
        public double GetReal(int index)
        {
            ElementType type = TypeAt(index);
            if (type == ElementType.Integer) return GetInteger(index);
            if (type != ElementType.Real) throw WrongType(index, "a number");
            return Real(index);
        }

        private double Real(int index)
        {
            IntPtr tuple = Acquire();
            try
            {
                return TupleCalls.Double(tuple, index); // TypeAt found it in range
            }
            finally
            {
                Release();
            }
        }

        /// <summary>A string element, decoded with <see cref="Engine.Encoding"/>.</summary>
        /// <exception cref="InvalidCastException">The element is not a string.</exception>
        /// <exception cref="ArgumentOutOfRangeException">The index is out of range.</exception>
        /// <exception cref="ObjectDisposedException">The tuple is disposed.</exception>
        public string GetString(int index)
        {
            byte[] bytes = GetBytes(index);
            return Engine.Encoding.GetString(bytes);
        }

        /// <summary>A string element's bytes, not converted.</summary>
        public byte[] GetBytes(int index)
        {
            if (TypeAt(index) != ElementType.String) throw WrongType(index, "a string");
            // The copy belongs to the caller and is released with the library's own function:
            // a string return would let the marshaller free it with another allocator.
            IntPtr tuple = Acquire();
            try
            {
                IntPtr text = NativeMethods.hgetTupleElemString_TO_BE_FREED(tuple, index);
                try
                {
                    return Text.Bytes(text) ?? new byte[0];
                }
                finally
                {
                    NativeMethods.hfreeTupleElemString(text);
                }
            }
            finally
            {
                Release();
            }
        }

        /// <summary>An element as long, double or string.</summary>
        public object this[int index]
        {
            get
            {
                switch (TypeAt(index))
                {
                    case ElementType.Integer: return GetInteger(index);
                    case ElementType.Real: return Real(index);
                    case ElementType.String: return GetString(index);
                    default: throw WrongType(index, "an integer, real or string");
                }
            }
        }

        /// <summary>Every element, as <see cref="long"/>, <see cref="double"/> or <see cref="string"/>.</summary>
        /// <exception cref="OverflowException">An integer is beyond 2^53 in magnitude.</exception>
        /// <exception cref="ObjectDisposedException">The tuple is disposed.</exception>
        public object[] ToArray()
        {
            var values = new object[Length];
            for (int i = 0; i < values.Length; ++i) values[i] = this[i];
            return values;
        }

        /// <summary>The element itself for a one-element tuple, else <see cref="ToArray"/>.</summary>
        public object ToObject()
        {
            return Length == 1 ? this[0] : ToArray();
        }

        /// <summary>A new tuple with the same elements; the caller disposes it.</summary>
        /// <exception cref="ObjectDisposedException">The tuple is disposed.</exception>
        public ControlTuple Copy()
        {
            var copy = new ControlTuple();
            for (int i = 0; i < Length; ++i)
            {
                if (TypeAt(i) == ElementType.String) copy.AppendBytes(GetBytes(i));
                else if (TypeAt(i) == ElementType.Integer) copy.Append(GetInteger(i));
                else copy.Append(GetReal(i));
            }
            return copy;
        }

        /// <summary>The elements as the command-line runner prints a list.</summary>
        public override string ToString()
        {
            var parts = new List<string>();
            foreach (object value in ToArray()) parts.Add(Format.Value(value, true));
            return "[" + string.Join(", ", parts.ToArray()) + "]";
        }

        /// <summary>Whether <see cref="Dispose"/> was called.</summary>
        public bool IsDisposed
        {
            get { return disposed; }
        }

        /// <summary>Releases the tuple; later calls do nothing.</summary>
        public void Dispose()
        {
            disposed = true;
            handle.Close(generation);
        }

        private int Checked(int index)
        {
            int length = Length;
            if (index < 0 || index >= length)
                throw new ArgumentOutOfRangeException("index", index, "the tuple has " + length + " elements");
            return index;
        }

        private InvalidCastException WrongType(int index, string wanted)
        {
            return new InvalidCastException("element " + index + " is " + TypeAt(index) + ", not " + wanted);
        }
    }
}
