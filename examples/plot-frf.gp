# Bode plot of a frequency response from fravlin's "magnitude_phase.out":
# magnitude on a logarithmic axis above, phase in degrees below, over the
# frequency, written as a PNG image.
#
#   gnuplot examples/plot-frf.gp
#   gnuplot -e "input='magnitude_phase.out'; output='frf.png'" examples/plot-frf.gp
#
# input      the file to plot (columns: frequency, magnitude, phase in
#            degrees); default magnitude_phase.out
# output     the PNG to write; default frf.png
# logfreq=1  a logarithmic frequency axis too (points at frequency 0 or
#            below are then left out); default linear
#
# Points whose values are not finite (a zero excitation gives them) are
# left out, and so are magnitudes of 0 on the logarithmic axis.

if (!exists("input")) input = 'magnitude_phase.out'
if (!exists("output")) output = 'frf.png'
if (!exists("logfreq")) logfreq = 0

set terminal pngcairo size 1000,750 enhanced font 'DejaVu Sans,11' linewidth 1.5
set output output

set multiplot layout 2,1 title sprintf('Frequency response: %s', input) noenhanced
set lmargin 12
set rmargin 4
set grid xtics ytics mxtics mytics lc rgb '#b0b0b0' lw 0.8 dt 3, lc rgb '#d8d8d8' lw 0.6 dt 3
set key off
set autoscale xfix
if (logfreq) { set logscale x; set mxtics 10 } else { set mxtics default }

# Only finite values: NaN and infinity fail "x == x" and "abs(x) < Inf".
finite(x) = (x == x && abs(x) < 1e308) ? x : NaN

set logscale y
set format y '10^{%L}'
set mytics 10
set ylabel 'Magnitude'
set format x ''
set xlabel ''
set bmargin 1
set tmargin 3
plot input using (finite($1)):(finite($2) > 0 ? finite($2) : NaN) with lines lc rgb '#1f5fa8' lw 1.5

unset logscale y
set format y '%g'
# A little room beyond +-180 keeps a phase of 180 off the frame.
set yrange [-195:195]
set ytics -180, 90, 180
set mytics 2
set ylabel 'Phase (degrees)'
set format x '%g'
set xlabel 'Frequency'
set bmargin 4
set tmargin 1
plot input using (finite($1)):(finite($3)) with lines lc rgb '#b8401d' lw 1.5

unset multiplot
