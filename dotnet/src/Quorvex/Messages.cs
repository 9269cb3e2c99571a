using System;
using System.Runtime.CompilerServices;

namespace Quorvex
{
    /// <summary>
    /// The library's two message channels as events. Each channel has one native callback,
    /// created once and kept for the life of the process, so the library never calls a
    /// collected delegate; it is set while the channel has a handler. A handler runs on the
    /// thread that sent the message, never while the library holds a lock of its own, so it
    /// may use the whole package: run a procedure or a program, open the default window,
    /// read a system value. A handler's exception, one thrown by such a call included, never
    /// unwinds into the library: it goes to <see cref="HandlerFailed"/> (or, with no
    /// subscriber there, to standard error), and the call that sent the message completes.
    /// </summary>
    public static class Messages
    {
        private static readonly object Gate = new object();
        private static readonly NativeMethods.MessageCallback OutCallback = DeliverOut;
        private static readonly NativeMethods.MessageCallback ErrCallback = DeliverErr;
        private static Action<string> stdOut;
        private static Action<string> stdErr;
        [ThreadStatic] private static int depth;

        /// <summary>The standard-output channel: each message, without its line end.</summary>
        public static event Action<string> StandardOutput
        {
            add { Change(ref stdOut, value, true, true); }
            remove { Change(ref stdOut, value, false, true); }
        }

        /// <summary>The standard-error channel: each message, without its line end.</summary>
        public static event Action<string> StandardError
        {
            add { Change(ref stdErr, value, true, false); }
            remove { Change(ref stdErr, value, false, false); }
        }

        /// <summary>Receives what a message handler threw.</summary>
        public static event Action<Exception> HandlerFailed;

        /// <summary>True on a thread that is inside a message handler.</summary>
        public static bool InsideHandler
        {
            get { return depth > 0; }
        }

        private static void Change(ref Action<string> slot, Action<string> handler, bool add, bool isOut)
        {
            Library.Ensure();
            Set(ref slot, handler, add, isOut);
        }

        // Compiled, and its imports bound, only after Library.Ensure (see Engine).
        [MethodImpl(MethodImplOptions.NoInlining)]
        private static void Set(ref Action<string> slot, Action<string> handler, bool add, bool isOut)
        {
            lock (Gate)
            {
                bool had = slot != null;
                slot = add ? slot + handler : slot - handler;
                bool has = slot != null;
                if (had == has) return;
                NativeMethods.MessageCallback callback = has ? (isOut ? OutCallback : ErrCallback) : null;
                IntPtr record = isOut ? NativeMethods.hsetStdOutHandler(callback) : NativeMethods.hsetStdErrHandler(callback);
                QuorvexException.Check(record);
            }
        }

        private static void DeliverOut(IntPtr text) { Deliver(stdOut, text); }
        private static void DeliverErr(IntPtr text) { Deliver(stdErr, text); }

        // Entered from native code: nothing may escape.
        private static void Deliver(Action<string> handlers, IntPtr text)
        {
            try
            {
                ++depth;
                try
                {
                    if (handlers == null) return;
                    string message = Text.Copy(text) ?? "";
                    foreach (Action<string> handler in handlers.GetInvocationList())
                    {
                        try { handler(message); }
                        catch (Exception e) { Report(e); }
                    }
                }
                finally
                {
                    --depth;
                }
            }
            catch (Exception e)
            {
                Report(e);
            }
        }

        private static void Report(Exception e)
        {
            try
            {
                Action<Exception> failed = HandlerFailed;
                if (failed != null) failed(e);
                else Console.Error.WriteLine("quorvex: a message handler failed: " + e);
            }
            catch (Exception)
            {
                // A failing report has nowhere left to go.
            }
        }
    }
}
