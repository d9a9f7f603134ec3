% Mean and largest value of a row of samples; called from matlab.xml.
function [average, largest] = summary(samples)
  average = mean(samples);
  largest = max(samples);
end
