using System;
using System.Runtime.InteropServices;

namespace Quorvex
{
    /// <summary>What kind of failure a record describes.</summary>
    public enum ErrorKind
    {
        /// <summary>A text of the library's own (a bad argument, say).</summary>
        Message = 0,
        /// <summary>An image-processing operator failed.</summary>
        Operator = 1,
        /// <summary>The HDevelop engine failed, with procedure and line.</summary>
        Engine = 2,
    }

    /// <summary>A failure the library reported: every field of its error record.</summary>
    public class QuorvexException : Exception
    {
        /// <summary>An exception with every field of an error record.</summary>
        public QuorvexException(ErrorKind kind, string message, string procedureName, string lineName,
                                int errorCode, int lineNumber, string errorText)
            : base(message)
        {
            Kind = kind;
            ProcedureName = procedureName;
            LineName = lineName;
            ErrorCode = errorCode;
            LineNumber = lineNumber;
            ErrorText = errorText;
        }

        /// <summary>What failed.</summary>
        public ErrorKind Kind { get; private set; }
        /// <summary>The operator (Operator) or the executing procedure (Engine); else null.</summary>
        public string ProcedureName { get; private set; }
        /// <summary>The operator or procedure called on the failing line (Engine).</summary>
        public string LineName { get; private set; }
        /// <summary>The error number; -1 for Message.</summary>
        public int ErrorCode { get; private set; }
        /// <summary>The failing line in its procedure body from 1 (Engine); else -1.</summary>
        public int LineNumber { get; private set; }
        /// <summary>The error number's standard text, or null.</summary>
        public string ErrorText { get; private set; }

        // Copies a record and releases it with the library's own function, whatever happens.
        [System.Runtime.CompilerServices.MethodImpl(System.Runtime.CompilerServices.MethodImplOptions.AggressiveInlining)]
        internal static void Check(IntPtr record)
        {
            if (record == IntPtr.Zero) return;
            throw FromRecord(record);
        }

        internal static QuorvexException FromRecord(IntPtr record)
        {
            try
            {
                var r = (ErrorRecord)Marshal.PtrToStructure(record, typeof(ErrorRecord));
                return new QuorvexException((ErrorKind)r.Kind, Text.Copy(r.Message) ?? "", Text.Copy(r.ProcName),
                                            Text.Copy(r.ProgLineName), r.ErrorCode, r.ProgLineNum, Text.Copy(r.ErrorText));
            }
            finally
            {
                NativeMethods.hclearErrorMsg(record);
            }
        }
    }
}
