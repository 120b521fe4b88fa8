function outdir = output_folder()
% The folder output/ beside the demonstrations, created when missing.
  outdir = fullfile(fileparts(fileparts(mfilename('fullpath'))), 'output');
  if ~exist(outdir, 'dir')
    mkdir(outdir);
  end
end
