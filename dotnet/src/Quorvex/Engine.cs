using System;
using System.Runtime.CompilerServices;
using System.Text;

namespace Quorvex
{
    /// <summary>The engine's process-wide settings.</summary>
    public static class Engine
    {
        private static Encoding encoding = new UTF8Encoding(false);

        /// <summary>How texts are converted to and from the library's 8-bit strings
        /// (UTF-8 unless set otherwise).</summary>
        public static Encoding Encoding
        {
            get { return encoding; }
            set
            {
                if (value == null) throw new ArgumentNullException("value");
                encoding = value;
            }
        }

        /// <summary>Call once before any program or procedure runs; <paramref name="logo"/>
        /// switches the logo overlay on for good.</summary>
        public static void Init(bool logo = false)
        {
            Library.Ensure();
            Core.Init(logo);
        }

        /// <summary>Appends a folder (or several joined with ";") to the paths searched for external procedures.</summary>
        /// <exception cref="ArgumentException"><paramref name="path"/> holds a NUL character.</exception>
        /// <exception cref="QuorvexException">The engine refused the path.</exception>
        public static void AddProcedurePath(string path)
        {
            Library.Ensure();
            Core.AddProcedurePath(path);
        }

        /// <summary>Sets an engine attribute to a text.</summary>
        /// <exception cref="ArgumentException">A text holds a NUL character.</exception>
        /// <exception cref="QuorvexException">The engine refused the attribute or its value.</exception>
        public static void SetEngineAttribute(string name, string value)
        {
            Library.Ensure();
            Core.SetEngineAttribute(name, value);
        }

        /// <summary>Sets an engine attribute to an integer.</summary>
        /// <exception cref="ArgumentException"><paramref name="name"/> holds a NUL character.</exception>
        /// <exception cref="QuorvexException">The engine refused the attribute or its value.</exception>
        public static void SetEngineAttribute(string name, int value)
        {
            Library.Ensure();
            Core.SetEngineAttribute(name, value);
        }

        /// <summary>Unloads every external procedure; the next use loads it again from its file.</summary>
        /// <exception cref="QuorvexException">The engine failed.</exception>
        public static void UnloadAllProcedures()
        {
            Library.Ensure();
            Core.UnloadAllProcedures();
        }

        /// <summary>A system parameter: the element itself for one value, else an array.</summary>
        public static object GetSystem(string query)
        {
            Library.Ensure();
            return Core.GetSystem(query);
        }

        /// <summary>Whether windows opened from now on cover their monitor without a frame; windows already open are not touched.</summary>
        public static void SetFullscreen(bool enable)
        {
            Library.Ensure();
            Core.SetFullscreen(enable);
        }

        /// <summary>Opens a 640 x 480 window, the active one for programs; a message handler may
        /// open one too (see Messages).</summary>
        public static void OpenDefaultWindow()
        {
            Library.Ensure();
            Core.OpenDefaultWindow();
        }

        /// <summary>Switches the library's informational messages on or off (see <see cref="Messages"/>).</summary>
        /// <exception cref="QuorvexException">The library failed.</exception>
        public static void SetVerbosity(bool verbose)
        {
            Library.Ensure();
            Core.SetVerbosity(verbose);
        }

        /// <summary>Closes the library's windows before the process ends.</summary>
        /// <returns>What the library returns: 0 on success.</returns>
        public static int PrepareShutdown()
        {
            Library.Ensure();
            return Core.PrepareShutdown();
        }

        /// <summary>The debug server is not available with this engine: always throws.</summary>
        public static void StartDebugServer()
        {
            Library.Ensure();
            Core.StartDebugServer();
        }

        /// <summary>The debug server is not available with this engine: always throws.</summary>
        /// <exception cref="QuorvexException">Always.</exception>
        public static void StopDebugServer()
        {
            Library.Ensure();
            Core.StopDebugServer();
        }

        // Mono binds an import when it compiles the method calling it: the calls live in
        // methods compiled only after Library.Ensure has loaded the library.
        private static class Core
        {
            [MethodImpl(MethodImplOptions.NoInlining)]
            internal static void Init(bool logo)
            {
                QuorvexException.Check(NativeMethods.hinit(logo ? 1 : 0));
            }

            [MethodImpl(MethodImplOptions.NoInlining)]
            internal static void AddProcedurePath(string path)
            {
                QuorvexException.Check(NativeMethods.haddProcedurePath(Text.Encode(path, "path")));
            }

            [MethodImpl(MethodImplOptions.NoInlining)]
            internal static void SetEngineAttribute(string name, string value)
            {
                QuorvexException.Check(NativeMethods.hsetEngineAttribute(Text.Encode(name, "name"), Text.Encode(value, "value")));
            }

            [MethodImpl(MethodImplOptions.NoInlining)]
            internal static void SetEngineAttribute(string name, int value)
            {
                QuorvexException.Check(NativeMethods.hsetEngineAttributeInt(Text.Encode(name, "name"), value));
            }

            [MethodImpl(MethodImplOptions.NoInlining)]
            internal static void UnloadAllProcedures()
            {
                QuorvexException.Check(NativeMethods.hunloadAllProcedures());
            }

            [MethodImpl(MethodImplOptions.NoInlining)]
            internal static object GetSystem(string query)
            {
                byte[] text = Text.Encode(query, "query");
                CountedHandle created = CountedHandle.Rent(CountedHandle.Kind.Tuple);
                IntPtr handle;
                try
                {
                    QuorvexException.Check(NativeMethods.hgetsystem(text, out handle));
                }
                catch
                {
                    created.Abandon();
                    throw;
                }
                using (var tuple = new ControlTuple(created, created.Adopt(handle))) return tuple.ToObject();
            }

            [MethodImpl(MethodImplOptions.NoInlining)]
            internal static void SetFullscreen(bool enable)
            {
                NativeMethods.hsetFullscreen(enable ? 1 : 0);
            }

            [MethodImpl(MethodImplOptions.NoInlining)]
            internal static void OpenDefaultWindow()
            {
                QuorvexException.Check(NativeMethods.hopenDefaultWindow());
            }

            [MethodImpl(MethodImplOptions.NoInlining)]
            internal static void SetVerbosity(bool verbose)
            {
                QuorvexException.Check(NativeMethods.hsetVerbosity(verbose ? 1 : 0));
            }

            [MethodImpl(MethodImplOptions.NoInlining)]
            internal static int PrepareShutdown()
            {
                return NativeMethods.hprepareShutdown();
            }

            [MethodImpl(MethodImplOptions.NoInlining)]
            internal static void StartDebugServer()
            {
                QuorvexException.Check(NativeMethods.hstartDebugServer());
            }

            [MethodImpl(MethodImplOptions.NoInlining)]
            internal static void StopDebugServer()
            {
                QuorvexException.Check(NativeMethods.hstopDebugServer());
            }
        }
    }
}
