using System;
using System.Collections.Generic;
using System.Globalization;

namespace Quorvex
{
    /// <summary>Values as the command-line runner prints them: integers in decimal, reals in
    /// their shortest exact form with ".0" for whole numbers, lists as [1, 2.5, 'a'].</summary>
    public static class Format
    {
        /// <summary>One value (or an array, as a list), strings in quotes when <paramref name="quoteStrings"/>.</summary>
        public static string Value(object value, bool quoteStrings)
        {
            if (value is double) return Real((double)value);
            if (value is string) return quoteStrings ? "'" + value + "'" : (string)value;
            var list = value as object[];
            if (list != null) return Values(list);
            return Convert.ToString(value, CultureInfo.InvariantCulture);
        }

        /// <summary>One element alone, else the list in brackets.</summary>
        public static string Values(object[] values)
        {
            if (values.Length == 1) return Value(values[0], false);
            var parts = new List<string>();
            foreach (object value in values) parts.Add(Value(value, true));
            return "[" + string.Join(", ", parts.ToArray()) + "]";
        }

        /// <summary>A real in its shortest exact form, with ".0" for a whole number.</summary>
        public static string Real(double value)
        {
            string text = value.ToString("R", CultureInfo.InvariantCulture);
            if (text.Contains("E")) text = text.Replace("E", "e");
            if (!double.IsNaN(value) && !double.IsInfinity(value) && text.IndexOfAny(new[] { '.', 'e' }) < 0) text += ".0";
            return text;
        }
    }
}
