using System;

namespace Quorvex
{
    /// <summary>
    /// Typed reads of an output's values as <see cref="ProcedureCall.GetOutputValues(string)"/>
    /// and <see cref="Procedure.Execute"/> give them: integers come boxed as <see cref="long"/>
    /// and reals as <see cref="double"/>, so that a cast such as <c>(int)values[0]</c> throws;
    /// <c>values.GetInt32()</c> converts, checked.
    /// </summary>
    public static class OutputValues
    {
        /// <summary>An integer element as <see cref="int"/>.</summary>
        /// <param name="values">The output's values.</param>
        /// <param name="index">The element, from 0.</param>
        /// <exception cref="ArgumentNullException"><paramref name="values"/> is null.</exception>
        /// <exception cref="ArgumentOutOfRangeException">The output has no element <paramref name="index"/>.</exception>
        /// <exception cref="InvalidCastException">The element is not an integer.</exception>
        /// <exception cref="OverflowException">The integer does not fit 32 bits.</exception>
        public static int GetInt32(this object[] values, int index = 0)
        {
            return checked((int)GetInt64(values, index));
        }

        /// <summary>An integer element as <see cref="long"/>.</summary>
        /// <param name="values">The output's values.</param>
        /// <param name="index">The element, from 0.</param>
        /// <exception cref="ArgumentNullException"><paramref name="values"/> is null.</exception>
        /// <exception cref="ArgumentOutOfRangeException">The output has no element <paramref name="index"/>.</exception>
        /// <exception cref="InvalidCastException">The element is not an integer.</exception>
        public static long GetInt64(this object[] values, int index = 0)
        {
            object value = At(values, index);
            if (value is long) return (long)value;
            throw WrongType(value, index, "an integer");
        }

        /// <summary>A real element, or an integer element converted, as <see cref="double"/>.</summary>
        /// <param name="values">The output's values.</param>
        /// <param name="index">The element, from 0.</param>
        /// <exception cref="ArgumentNullException"><paramref name="values"/> is null.</exception>
        /// <exception cref="ArgumentOutOfRangeException">The output has no element <paramref name="index"/>.</exception>
        /// <exception cref="InvalidCastException">The element is a string.</exception>
        public static double GetDouble(this object[] values, int index = 0)
        {
            object value = At(values, index);
            if (value is double) return (double)value;
            if (value is long) return (long)value;
            throw WrongType(value, index, "a number");
        }

        /// <summary>A string element.</summary>
        /// <param name="values">The output's values.</param>
        /// <param name="index">The element, from 0.</param>
        /// <exception cref="ArgumentNullException"><paramref name="values"/> is null.</exception>
        /// <exception cref="ArgumentOutOfRangeException">The output has no element <paramref name="index"/>.</exception>
        /// <exception cref="InvalidCastException">The element is a number.</exception>
        public static string GetString(this object[] values, int index = 0)
        {
            object value = At(values, index);
            var text = value as string;
            if (text != null) return text;
            throw WrongType(value, index, "a string");
        }

        private static object At(object[] values, int index)
        {
            if (values == null) throw new ArgumentNullException("values");
            if (index < 0 || index >= values.Length)
                throw new ArgumentOutOfRangeException("index", index, "the output has " + values.Length + " elements");
            return values[index];
        }

        private static InvalidCastException WrongType(object value, int index, string wanted)
        {
            return new InvalidCastException("element " + index + " is " + Format.Value(value, true) + ", not " + wanted);
        }
    }
}
