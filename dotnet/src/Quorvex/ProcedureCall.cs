using System;
using System.Runtime.CompilerServices;

namespace Quorvex
{
    /// <summary>A call of a procedure: set inputs, execute, read outputs; reusable.</summary>
    public sealed class ProcedureCall : IDisposable
    {
        private readonly CountedHandle handle;
        private readonly int generation;
        private volatile bool disposed;

        internal ProcedureCall(Procedure procedure)
        {
            Procedure = procedure;
            ProcedureHandle parent = procedure.Live;
            // The handle object exists before the call does, so that nothing is left unowned
            // between the two.
            CountedHandle created = CountedHandle.Rent(CountedHandle.Kind.ProcedureCall);
            bool held = false;
            try
            {
                parent.DangerousAddRef(ref held);
                IntPtr call;
                QuorvexException.Check(NativeMethods.hcreateProcedureCall(parent.DangerousGetHandle(), out call));
                generation = created.Adopt(call, parent);
                held = false; // the call's release gives it back
            }
            catch
            {
                created.Abandon();
                throw;
            }
            finally
            {
                if (held) parent.DangerousRelease();
            }
            handle = created;
        }

        /// <summary>The procedure this call runs.</summary>
        public Procedure Procedure { get; private set; }

        /// <summary>Sets a control input by position, counted from 1; the call keeps a copy.</summary>
        public void SetInput(int index, ControlTuple value)
        {
            if (value == null) throw new ArgumentNullException("value");
            IntPtr call = Acquire();
            try
            {
                IntPtr tuple = value.Acquire();
                try
                {
                    QuorvexException.Check(NativeMethods.hprocedurecallSetInputCtrlParamTuple(call, index, tuple));
                }
                finally
                {
                    value.Release();
                }
            }
            finally
            {
                Release();
            }
        }

        /// <summary>Sets a control input by position, counted from 1, from a value <see cref="ControlTuple.Append(object)"/> takes or a <see cref="ControlTuple"/>.</summary>
        /// <exception cref="ArgumentException">The value cannot become a tuple.</exception>
        /// <exception cref="OverflowException">An integer beyond 32 bits.</exception>
        /// <exception cref="QuorvexException">The index is out of range.</exception>
        /// <exception cref="InvalidOperationException">The library refused the value (out of memory).</exception>
        /// <exception cref="ObjectDisposedException">The call is disposed.</exception>
        public void SetInput(int index, object value)
        {
            var tuple = value as ControlTuple;
            if (tuple != null)
            {
                SetInput(index, tuple);
                return;
            }
            if (value is int || value is double || value is string)
            {
                SetScalar(index, value);
                return;
            }
            using (ControlTuple converted = ControlTuple.From(value)) SetInput(index, converted);
        }

        // One value without a ControlTuple object: the tuple lives only inside this method.
        private void SetScalar(int index, object value)
        {
            byte[] text = value is string ? Text.Encode((string)value, "value") : null;
            IntPtr call = Acquire();
            try
            {
                IntPtr tuple;
                QuorvexException.Check(TupleCalls.Create(out tuple));
                try
                {
                    if (text != null) NativeMethods.happendTupleString(tuple, text);
                    else if (value is int) TupleCalls.AppendLong(tuple, (int)value);
                    else TupleCalls.AppendDouble(tuple, (double)value);
                    if (TupleCalls.Length(tuple) != 1) throw Refused(value);
                    QuorvexException.Check(NativeMethods.hprocedurecallSetInputCtrlParamTuple(call, index, tuple));
                }
                finally
                {
                    TupleCalls.Free(tuple);
                }
            }
            finally
            {
                Release();
            }
        }

        // The library reports nothing about an append, and a refused one leaves the tuple
        // empty: set from it, the input would run the procedure on nothing. (The value is
        // boxed for the message only when it is thrown.)
        private static InvalidOperationException Refused(object value)
        {
            return new InvalidOperationException("the library refused the value " + value + "; the input is not set");
        }

        /// <summary>Sets an integer control input by position, counted from 1, without boxing the value.</summary>
        /// <exception cref="QuorvexException">The index is out of range.</exception>
        /// <exception cref="InvalidOperationException">The library refused the value (out of memory).</exception>
        /// <exception cref="ObjectDisposedException">The call is disposed.</exception>
        public void SetInput(int index, int value)
        {
            IntPtr call = Acquire();
            try
            {
                IntPtr tuple;
                QuorvexException.Check(TupleCalls.Create(out tuple));
                try
                {
                    TupleCalls.AppendLong(tuple, value);
                    if (TupleCalls.Length(tuple) != 1) throw Refused(value);
                    QuorvexException.Check(NativeMethods.hprocedurecallSetInputCtrlParamTuple(call, index, tuple));
                }
                finally
                {
                    TupleCalls.Free(tuple);
                }
            }
            finally
            {
                Release();
            }
        }

        /// <summary>Sets an integer control input by name (see <see cref="SetInput(int, int)"/>).</summary>
        /// <exception cref="ArgumentException">The procedure has no such input.</exception>
        /// <exception cref="ObjectDisposedException">The call is disposed.</exception>
        public void SetInput(string name, int value)
        {
            SetInput(Procedure.InputIndex(name), value);
        }

        /// <summary>Sets a control input by name (see <see cref="SetInput(int, object)"/>).</summary>
        /// <exception cref="ArgumentException">The procedure has no such input, or the value cannot become a tuple.</exception>
        /// <exception cref="OverflowException">An integer beyond 32 bits.</exception>
        /// <exception cref="ObjectDisposedException">The call is disposed.</exception>
        public void SetInput(string name, object value)
        {
            SetInput(Procedure.InputIndex(name), value);
        }

        /// <summary>Runs the procedure; a message handler may run one too (see Messages).</summary>
        public void Execute()
        {
            IntPtr call = Acquire();
            try
            {
                QuorvexException.Check(NativeMethods.hprocedurecallExecute(call));
            }
            finally
            {
                Release();
            }
        }

        /// <summary>A new tuple with a copy of the output, counted from 1; the caller disposes it.</summary>
        public ControlTuple GetOutput(int index)
        {
            // The handle object first and the tuple stored into it, as for the call itself.
            CountedHandle created = CountedHandle.Rent(CountedHandle.Kind.Tuple);
            IntPtr tuple;
            try
            {
                IntPtr call = Acquire();
                try
                {
                    QuorvexException.Check(NativeMethods.hprocedurecallGetOutputCtrlParamTuple(call, index, out tuple));
                }
                finally
                {
                    Release();
                }
            }
            catch
            {
                created.Abandon();
                throw;
            }
            return new ControlTuple(created, created.Adopt(tuple));
        }

        /// <summary>A new tuple with a copy of the output <paramref name="name"/>; the caller disposes it.</summary>
        /// <exception cref="ArgumentException">The procedure has no such output.</exception>
        /// <exception cref="ObjectDisposedException">The call is disposed.</exception>
        public ControlTuple GetOutput(string name)
        {
            return GetOutput(Procedure.OutputIndex(name));
        }

        /// <summary>The values of the output <paramref name="name"/> (see <see cref="ControlTuple.ToArray"/>; <see cref="OutputValues"/> reads them typed).</summary>
        /// <exception cref="ArgumentException">The procedure has no such output.</exception>
        /// <exception cref="ObjectDisposedException">The call is disposed.</exception>
        public object[] GetOutputValues(string name)
        {
            using (ControlTuple tuple = GetOutput(name)) return tuple.ToArray();
        }

        /// <summary>The values of the output at <paramref name="index"/>, counted from 1.</summary>
        /// <exception cref="QuorvexException">The index is out of range.</exception>
        /// <exception cref="ObjectDisposedException">The call is disposed.</exception>
        public object[] GetOutputValues(int index)
        {
            using (ControlTuple tuple = GetOutput(index)) return tuple.ToArray();
        }

        /// <summary>Whether <see cref="Dispose"/> was called.</summary>
        public bool IsDisposed
        {
            get { return disposed; }
        }

        /// <summary>Releases the call; later calls do nothing.</summary>
        public void Dispose()
        {
            disposed = true;
            handle.Close(generation);
        }

        // The call for native calls until the matching Release; a Dispose meanwhile (from a
        // message handler, or another thread) takes effect after it.
        [MethodImpl(MethodImplOptions.AggressiveInlining)]
        private IntPtr Acquire()
        {
            IntPtr call = handle.Acquire(generation);
            if (call == IntPtr.Zero) throw new ObjectDisposedException("ProcedureCall of " + Procedure.Name);
            return call;
        }

        [MethodImpl(MethodImplOptions.AggressiveInlining)]
        private void Release()
        {
            handle.Release();
        }
    }
}
