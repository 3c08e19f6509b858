#include "app/HelpText.h"

namespace zp::app {

QString GuideHtml(const QString& SettingsFile) {
  QString html = QStringLiteral(R"(<h2>N Queens Solution using Genetic Algorithms</h2>
<p>Place N queens on an N &times; N board, one per column, so that no two attack each other.
A population of candidate boards evolves; five selection methods are compared on the same
starting population.</p>

<h3>The controls</h3>
<table cellspacing="0" cellpadding="3">
<tr><td><b>Num Queens</b></td><td>The board size, 4 to 32. Changing it starts a new random
population (and clears the board).</td></tr>
<tr><td><b>Initialize</b></td><td>A new random population for the current queen count.</td></tr>
<tr><td><b>Run</b> (F5)</td><td>Evolves the population for the number in <b>Generations</b>, once with
each selection method in turn: Roulette, Random, Tournament, Stochastic Tournament, Elitist.
Every method starts from the same population; the Text page gets one block per method.</td></tr>
<tr><td><b>Stop</b> (Esc)</td><td>Ends a run at once: the generation in progress is dropped, so the
population is that of the last whole generation. The log says &ldquo;Run stopped after G of M
generations&rdquo; in place of the stopped method's block; the methods after it do not run.
Closing the window during a run stops it too.</td></tr>
<tr><td><b>Graph</b></td><td>Plots each method's best fitness per generation on the Graph page.
Off, runs are faster and the curves stay as they were.</td></tr>
<tr><td><b>Load</b>, <b>Save</b></td><td>The whole algorithm: settings, genes and population.
A loaded algorithm is continued by the next Run.</td></tr>
<tr><td><b>Load/Save GenoType</b></td><td>Only the genes (the problem's shape).</td></tr>
<tr><td><b>Load/Save Population</b></td><td>Only the individuals; the next Run continues from them.</td></tr>
</table>
<p><b>Same random numbers for every method</b>, on the tool bar: on, every method draws the same
random numbers, so the methods differ by their selection alone. Off (the default), each method
goes on with the random numbers where the one before it stopped.</p>
<p>The File menu lists the files used lately; each opens with the Load command it was used with.</p>

<h3>The chart (Graph page)</h3>
<ul>
<li><b>Zoom in</b>: drag a rectangle to the right and down.</li>
<li><b>Zoom out</b>: drag to the left or up; <b>double-click</b> resets the zoom;
<b>Backspace</b> goes back one zoom step.</li>
<li><b>Wheel</b>: zooms along the generation axis around the pointer.</li>
<li><b>Legend</b>: click a method's line in the legend to hide or show its curve.</li>
<li><b>Hover</b> over a curve for a readout of the generation and fitness.</li>
<li><b>Right-click</b> for a menu: Save image, Copy image, Reset zoom, Logarithmic generation axis.</li>
</ul>

<h3>When a method has solved the board</h3>
<p>The fitness of a board is the number of pairs of queens that do not attack each other.
A solution has every pair non-attacking: N(N&minus;1)/2 pairs, 28 for 8 queens. The log prints
this number as the <b>Fitness Cutoff</b> after each initialization, and the chart's fitness axis
ends there.</p>
<p>A method has solved the board when its block's <b>Max Fitness</b> equals the cutoff; it stops
evolving at that generation (<b>Number of generations</b>), its curve reaches the top of the chart,
and the board shows its queens. The line under the board names the method and the Run
(&ldquo;Solution shown: Tournament, Run 3&rdquo;); when several methods solve it, the last one
is shown. A method whose Max Fitness stays below the cutoff has not solved it: Run again to
continue from the population it left, or raise Generations.</p>
)");
  html += QStringLiteral(
              "<h3>Remembered settings</h3><p>The queen count, Generations, Graph, the random-number "
              "setting, the window's size and the folder and files used lately are kept in <tt>%1</tt> "
              "when the window closes.</p>")
              .arg(SettingsFile.toHtmlEscaped());
  return html;
}

}  // namespace zp::app
