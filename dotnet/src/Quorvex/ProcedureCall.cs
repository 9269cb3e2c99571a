using System;

namespace Quorvex
{
    /// <summary>A call of a procedure: set inputs, execute, read outputs; reusable.</summary>
    public sealed class ProcedureCall : IDisposable
    {
        private readonly ProcedureCallHandle handle;
        private volatile bool disposed;

        internal ProcedureCall(Procedure procedure)
        {
            Procedure = procedure;
            ProcedureHandle parent = procedure.Live;
            // The handle object exists before the call does, so that nothing is left unowned
            // between the two; written out rather than through CallHandle.Create, whose
            // delegate and shared generic code cost as much as the native call.
            var created = new ProcedureCallHandle();
            bool held = false;
            try
            {
                parent.DangerousAddRef(ref held);
                IntPtr call;
                QuorvexException.Check(NativeMethods.hcreateProcedureCallBare(parent.DangerousGetHandle(), out call));
                created.Adopt(call, parent);
                held = false; // the call's release gives it back
            }
            catch
            {
                created.Dispose();
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
            QuorvexException.Check(NativeMethods.hprocedurecallSetInputCtrlParamTuple(Live, index, value.Live));
        }

        /// <summary>Sets a control input by position, counted from 1, from a value <see cref="ControlTuple.Append(object)"/> takes or a <see cref="ControlTuple"/>.</summary>
        /// <exception cref="ArgumentException">The value cannot become a tuple.</exception>
        /// <exception cref="OverflowException">An integer beyond 32 bits.</exception>
        /// <exception cref="QuorvexException">The index is out of range.</exception>
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
            ProcedureCallHandle call = Live;
            IntPtr tuple;
            QuorvexException.Check(NativeMethods.hcreateTupleBare(out tuple));
            try
            {
                if (text != null) NativeMethods.happendTupleStringBare(tuple, text);
                else if (value is int) NativeMethods.happendTupleLongBare(tuple, (int)value);
                else NativeMethods.happendTupleDoubleBare(tuple, (double)value);
                QuorvexException.Check(NativeMethods.hprocedurecallSetInputCtrlParamTupleBare(call, index, tuple));
            }
            finally
            {
                NativeMethods.hfreeTuple(tuple);
            }
        }

        /// <summary>Sets an integer control input by position, counted from 1, without boxing the value.</summary>
        /// <exception cref="QuorvexException">The index is out of range.</exception>
        /// <exception cref="ObjectDisposedException">The call is disposed.</exception>
        public void SetInput(int index, int value)
        {
            ProcedureCallHandle call = Live;
            IntPtr tuple;
            QuorvexException.Check(NativeMethods.hcreateTupleBare(out tuple));
            try
            {
                NativeMethods.happendTupleLongBare(tuple, value);
                QuorvexException.Check(NativeMethods.hprocedurecallSetInputCtrlParamTupleBare(call, index, tuple));
            }
            finally
            {
                NativeMethods.hfreeTuple(tuple);
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
            QuorvexException.Check(NativeMethods.hprocedurecallExecute(Live));
        }

        /// <summary>A new tuple with a copy of the output, counted from 1; the caller disposes it.</summary>
        public ControlTuple GetOutput(int index)
        {
            // The handle object first and the tuple stored into it, as for the call itself:
            // the marshaller's own SafeHandle for an out-parameter costs more than the call.
            var created = new TupleHandle();
            try
            {
                IntPtr tuple;
                QuorvexException.Check(NativeMethods.hprocedurecallGetOutputCtrlParamTupleBare(Live, index, out tuple));
                created.Adopt(tuple);
            }
            catch
            {
                created.Dispose();
                throw;
            }
            return new ControlTuple(created);
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
            handle.Dispose();
        }

        private ProcedureCallHandle Live
        {
            get
            {
                if (disposed) throw new ObjectDisposedException("ProcedureCall of " + Procedure.Name);
                return handle;
            }
        }
    }
}
