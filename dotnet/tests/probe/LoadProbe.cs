using System;

// Loads the library file named on the command line and prints what the load said: the
// package loads its library once per process, so a failing load needs a process of its own.
internal static class LoadProbe
{
    private static int Main(string[] args)
    {
        try
        {
            Quorvex.Library.Load(args[0]);
            Console.WriteLine("loaded");
            return 0;
        }
        catch (DllNotFoundException error)
        {
            Console.WriteLine(error.Message);
            return 1;
        }
    }
}
