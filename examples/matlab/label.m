% A text describing a summary; called from matlab.xml.
function text = label(name, average)
  text = sprintf('%s: mean %.2f', name, average);
end
