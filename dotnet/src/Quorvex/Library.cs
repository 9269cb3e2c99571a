using System;
using System.IO;
using System.Reflection;
using System.Runtime.CompilerServices;
using System.Runtime.InteropServices;

namespace Quorvex
{
    /// <summary>
    /// Finds and loads the native library before the first call. The imports name the
    /// library "quorvex32-11.0"; this class loads the file explicitly (LoadLibrary on
    /// Windows, dlopen elsewhere) from <c>QUORVEX_LIBRARY</c>, or from beside this assembly,
    /// so that the runtime's own lookup of that name finds the module already loaded. Where
    /// the runtime has a DllImport resolver (.NET Core 3 and later) it is registered too.
    /// Without either, the runtime's ordinary search applies.
    /// </summary>
    public static class Library
    {
        private static readonly object Gate = new object();
        private static volatile bool loaded;

        // The module loaded by Load on Linux and macOS; zero elsewhere, or when the runtime's
        // own search was left to find the library.
        internal static IntPtr Module { get; private set; }

        /// <summary>The file loaded, or null when the runtime's own search was left to find it.</summary>
        public static string Path { get; private set; }

        /// <summary>The platform's file name of the library.</summary>
        public static string FileName
        {
            get
            {
                if (IsWindows) return "quorvex32-11.0.dll";
                return IsMac ? "libquorvex32-11.0.dylib" : "libquorvex32-11.0.so";
            }
        }

        /// <summary>Loads the library from <paramref name="path"/> (null: the default lookup).
        /// Must come before any other use of the package; a second load is refused.</summary>
        public static void Load(string path)
        {
            lock (Gate)
            {
                if (loaded) throw new InvalidOperationException("the quorvex library is already loaded from " + (Path ?? "the default search path"));
                string file = path ?? Locate();
                if (file != null)
                {
                    IntPtr module = IsWindows ? WindowsLoad(file) : DlOpen(file);
                    RegisterResolver(module);
                    Path = file;
                    if (!IsWindows) Module = module;
                }
                loaded = true;
                TupleCalls.Prepare();
            }
        }

        internal static void Ensure()
        {
            if (!loaded)
            {
                lock (Gate)
                {
                    if (!loaded) Load(null);
                }
            }
        }

        private static string Locate()
        {
            string fromEnvironment = Environment.GetEnvironmentVariable("QUORVEX_LIBRARY");
            if (!string.IsNullOrEmpty(fromEnvironment)) return fromEnvironment;
            string folder = System.IO.Path.GetDirectoryName(typeof(Library).Assembly.Location);
            if (string.IsNullOrEmpty(folder)) return null;
            string[] candidates =
            {
                System.IO.Path.Combine(folder, FileName),
                System.IO.Path.Combine(folder, "runtimes", RuntimeFolder, "native", FileName),
                // The assembly loaded from the package itself: lib/<framework>/Quorvex.dll.
                System.IO.Path.Combine(folder, "..", "..", "runtimes", RuntimeFolder, "native", FileName),
            };
            foreach (string candidate in candidates)
                if (File.Exists(candidate)) return candidate;
            return null;
        }

        private static string RuntimeFolder
        {
            get
            {
                string os = IsWindows ? "win" : IsMac ? "osx" : "linux";
                return os + (IntPtr.Size == 4 ? "-x86" : "-x64");
            }
        }

        internal static bool IsWindows
        {
            get { return Environment.OSVersion.Platform == PlatformID.Win32NT; }
        }

        private static bool IsMac
        {
            get { return RuntimeInformation.IsOSPlatform(OSPlatform.OSX); }
        }

        // NativeLibrary.SetDllImportResolver is not part of netstandard2.0: reached by
        // reflection where the runtime has it, so the import name maps to the loaded module.
        private static void RegisterResolver(IntPtr module)
        {
            Type nativeLibrary = Type.GetType("System.Runtime.InteropServices.NativeLibrary", false);
            if (nativeLibrary == null) return;
            MethodInfo set = nativeLibrary.GetMethod("SetDllImportResolver");
            if (set == null) return;
            Type resolverType = set.GetParameters()[1].ParameterType;
            var resolver = new Resolver(module);
            Delegate callback = Delegate.CreateDelegate(resolverType, resolver, typeof(Resolver).GetMethod("Resolve"));
            set.Invoke(null, new object[] { typeof(Library).Assembly, callback });
        }

        private sealed class Resolver
        {
            private readonly IntPtr module;
            public Resolver(IntPtr module) { this.module = module; }
            public IntPtr Resolve(string name, Assembly assembly, DllImportSearchPath? searchPath)
            {
                return name == NativeMethods.Library ? module : IntPtr.Zero;
            }
        }

        private const int RtldNow = 2;
        private const int RtldGlobal = 0x100;

        [MethodImpl(MethodImplOptions.NoInlining)]
        private static IntPtr WindowsLoad(string file)
        {
            // A full path makes Windows look for the library's own imports (the i686 build's
            // unwinder DLL) in its folder first, as they are packed beside it.
            int flags = System.IO.Path.IsPathRooted(file) ? LoadWithAlteredSearchPath : 0;
            IntPtr module = LoadLibraryExW(file, IntPtr.Zero, flags);
            if (module == IntPtr.Zero)
            {
                int code = Marshal.GetLastWin32Error();
                throw new DllNotFoundException("cannot load the quorvex library " + file + ": " + new System.ComponentModel.Win32Exception(code).Message + " (error " + code + ")");
            }
            return module;
        }

        [MethodImpl(MethodImplOptions.NoInlining)]
        private static IntPtr DlOpen(string file)
        {
            // The runtime binds an import on its first call with dlopen and dlsym of its own,
            // which clear the loader's error text: both imports are bound before the load,
            // so that the text read after a failure is the failure's.
            IntPtr module;
            bool libdl2 = true;
            try { dlerror2(); }
            catch (DllNotFoundException) { libdl2 = false; dlerror(); }
            module = libdl2 ? dlopen2(file, RtldNow | RtldGlobal) : dlopen(file, RtldNow | RtldGlobal);
            if (module == IntPtr.Zero)
            {
                IntPtr text = libdl2 ? dlerror2() : dlerror();
                throw new DllNotFoundException("cannot load the quorvex library " + file + ": " + (Text.Copy(text, System.Text.Encoding.UTF8) ?? "the loader gave no reason"));
            }
            return module;
        }

        // An export's address in a module from DlOpen, or zero.
        [MethodImpl(MethodImplOptions.NoInlining)]
        internal static IntPtr Symbol(IntPtr module, string name)
        {
            byte[] text = System.Text.Encoding.ASCII.GetBytes(name + "\0");
            try { return dlsym2(module, text); }
            catch (DllNotFoundException) { return dlsym(module, text); }
        }

        private const int LoadWithAlteredSearchPath = 0x8;
        [DllImport("kernel32", CharSet = CharSet.Unicode, SetLastError = true)]
        private static extern IntPtr LoadLibraryExW(string file, IntPtr reserved, int flags);
        [DllImport("libdl.so.2", EntryPoint = "dlopen")]
        private static extern IntPtr dlopen2(string file, int flags);
        [DllImport("libdl.so.2", EntryPoint = "dlerror")]
        private static extern IntPtr dlerror2();
        [DllImport("libdl.so.2", EntryPoint = "dlsym")]
        private static extern IntPtr dlsym2(IntPtr module, byte[] name);
        [DllImport("libdl")]
        private static extern IntPtr dlopen(string file, int flags);
        [DllImport("libdl")]
        private static extern IntPtr dlsym(IntPtr module, byte[] name);
        [DllImport("libdl")]
        private static extern IntPtr dlerror();
    }
}
