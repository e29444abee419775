function assert_mex_error (outputs, module, message, varargin)
  % Calls MODULE with the given arguments asking for OUTPUTS results and checks that it fails with MESSAGE
  % (Octave puts the module's name in front of the text a module reports).
  try
    if (outputs == 0)
      feval (module, varargin{:});
    else
      results = cell (1, outputs);
      [results{:}] = feval (module, varargin{:});
    end
  catch err
    assert (err.message, [module ': ' message]);
    return;
  end
  error ('assert_mex_error: %s did not fail; expected "%s"', module, message);
end
