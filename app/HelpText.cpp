#include "app/HelpText.h"

#include "platform/Numbers.h"

namespace zp::app {

namespace {

QString Number(double Value) { return QString::fromStdString(FormatFloat15(Value)); }

// The table of pages: one line per page of the Help window.
constexpr THelpPage kHelpPages[] = {
    {"hpGuide", "The window", &GuideHtml},
    {"hpGeneticAlgorithm", "The genetic algorithm", &GeneticAlgorithmHtml},
    {"hpExperiments", "The Experiments page", &ExperimentsHtml},
};

}  // namespace

std::span<const THelpPage> HelpPages() { return kHelpPages; }

QString GuideHtml(const THelpContext& Context) {
  QString html = QStringLiteral(R"(<h2>N Queens Solution using Genetic Algorithms</h2>
<p>Place N queens on an N &times; N board, one per column, so that no two attack each other.
A population of candidate boards evolves; five selection methods are compared on the same
starting population.</p>

<h3>The controls</h3>
<table cellspacing="0" cellpadding="3">
<tr><td><b>Num Queens</b></td><td>The board size, 4 to 32. Changing it starts a new random
population (and clears the board).</td></tr>
<tr><td><b>Initialize</b></td><td>A new random population for the current queen count.</td></tr>
<tr><td><b>File &rarr; New</b> (Ctrl+N)</td><td>Starts again as at program start, with the queen count
shown: a fresh genetic algorithm with its stored settings (so a longer chromosome left by a larger
board is gone), the random numbers from the seed the window started with, the introduction alone
in the log, an empty board and no curves. The first Run after it gives exactly what
<tt>nqueens-ga --seed S -q N -e "run G"</tt> prints.</td></tr>
<tr><td><b>Run</b> (Enter, F5)</td><td>Evolves the population for the number in <b>Generations</b>, once with
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
<p>The File menu lists the files used lately; each opens with the Load command it was used with.
Every load and save is named in the status bar and in the log.</p>

<h3>The chart (Graph page)</h3>
<ul>
<li><b>Zoom in</b>: drag a rectangle to the right and down.</li>
<li><b>Zoom out</b>: drag to the left or up; <b>double-click</b> resets the zoom;
<b>Backspace</b> goes back one zoom step.</li>
<li><b>Wheel</b>: zooms along the generation axis around the pointer.</li>
<li><b>Legend</b>: click a method's line in the legend to hide or show its curve.</li>
<li><b>Hover</b> over a curve for a readout of the generation and fitness.</li>
<li><b>Right-click</b> for a menu: Save image (PNG at a size you choose, SVG or PDF), Copy image,
Reset zoom, Logarithmic generation axis.</li>
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
<p>When no method of a Run solved it, the board shows the <b>best found</b>: the fittest board of
the five methods (the first of them on a tie), captioned like &ldquo;Best found: Elitist, fitness
27 of 28&rdquo;. Each queen that another queen attacks (same row or diagonal) is red on a red
square.</p>
)");
  html += QStringLiteral(
              "<h3>Remembered settings</h3><p>The queen count, Generations, Graph, the random-number "
              "setting, the window's size and the folder and files used lately are kept in <tt>%1</tt> "
              "when the window closes.</p>")
              .arg(Context.SettingsFile.toHtmlEscaped());
  return html;
}

QString GeneticAlgorithmHtml(const THelpContext& Context) {
  const queens::TResolvedSettings& s = Context.Settings;
  const int n = Context.Queens;
  const int bits = n > 0 ? static_cast<int>(BitLength(static_cast<uint64_t>(n - 1))) : 0;
  QString html = QStringLiteral(R"(<h2>The genetic algorithm</h2>
<p>A <b>chromosome</b> is a string of bits that encodes one board: one gene per column, each gene
the row of that column's queen as a binary number. Its <b>fitness</b> is the number of pairs of
queens that do not attack each other (minus a penalty for a row past the board's edge). A
<b>population</b> of chromosomes starts at random. Each <b>generation</b> picks pairs of parents
from it by the <b>selection method</b>, makes two children from each pair, and scores the new
population, which replaces the old one:</p>
<ul>
<li><b>Crossover</b>: with the crossover probability, the children swap their tails at a gene
boundary chosen at random (otherwise they are copies of their parents).</li>
<li><b>Mutation</b>: every bit of a child flips with the mutation probability.</li>
<li><b>Inversion</b>: with the inversion probability, a random run of a child's bits is
complemented.</li>
</ul>
<p>A method stops as soon as its best board reaches the fitness cutoff (a solution), or after the
generations given.</p>

<h3>The five selection methods</h3>
<table cellspacing="0" cellpadding="3">
<tr><td valign="top"><b>Roulette</b></td><td>Each parent is drawn with a chance in proportion to its
fitness, like a roulette wheel with one slot per board as wide as its fitness. Fitter boards are
picked more often, but since fitness values lie close together the pressure is mild.</td></tr>
<tr><td valign="top"><b>Random</b></td><td>Each parent is drawn uniformly, whatever its fitness.
With no selection pressure at all it is the baseline: only crossover and mutation search.</td></tr>
<tr><td valign="top"><b>Tournament</b></td><td>%1 boards are drawn uniformly (the tournament
field) and the fittest of them is the parent. The larger the field, the harder the pressure
towards the best boards.</td></tr>
<tr><td valign="top"><b>Stochastic Tournament</b></td><td>As the tournament, but only the first
contender is drawn uniformly; the other %2 come from the roulette wheel. Fit boards thus enter
more tournaments, a little more pressure than the tournament.</td></tr>
<tr><td valign="top"><b>Elitist</b></td><td>The parents are taken in turn from the top of the
population by fitness: the best board and a few near it, about %3 of the population (%4 boards),
over and over. The strongest pressure of the five: fast at first, but the
population can lose its variety and get stuck.</td></tr>
</table>

<h3>The settings for %5 queens</h3>
)")
                     .arg(s.TournamentField)
                     .arg(s.TournamentField - 1)
                     .arg(QStringLiteral("%1 %").arg(Number(100 * s.ElitistPct)))
                     .arg(1 + qRound(s.Population * s.ElitistPct))
                     .arg(n);
  auto row = [](const QString& Name, const QString& Value, const QString& Why) {
    return QStringLiteral("<tr><td>%1</td><td align=\"right\"><b>%2</b></td><td>%3</td></tr>\n").arg(Name, Value, Why);
  };
  html += QStringLiteral("<table cellspacing=\"0\" cellpadding=\"3\">\n");
  html += row(QStringLiteral("Population"), QString::number(s.Population), QStringLiteral("4 &times; N boards"));
  html += row(QStringLiteral("Genes"), QStringLiteral("%1 &times; %2 bits").arg(n).arg(bits),
              QStringLiteral("one per column, enough bits to write N &minus; 1"));
  html += row(QStringLiteral("Chromosome"), QStringLiteral("%1 bits").arg(s.ChromosomeBits),
              s.ChromosomeBits > n * bits
                  ? QStringLiteral("longer than the genes: a chromosome never shrinks, so it keeps the "
                                   "length of the largest board set up since the start or File &rarr; New "
                                   "(the bits past the genes only take mutations)")
                  : QStringLiteral("the genes' bits"));
  html += row(QStringLiteral("Crossover probability"), Number(s.CrossoverProbability),
              QStringLiteral("per pair of children"));
  html += row(QStringLiteral("Mutation probability"), Number(s.MutationProbability),
              QStringLiteral("per bit: 1 / the chromosome's bits, about one flip per child"));
  html += row(QStringLiteral("Inversion probability"), Number(s.InversionProbability), QStringLiteral("per child"));
  html += row(QStringLiteral("Tournament field"), QString::number(s.TournamentField),
              QStringLiteral("boards per tournament"));
  html += row(QStringLiteral("Elitist share"), Number(s.ElitistPct),
              QStringLiteral("of the population the elitist method cycles through"));
  html +=
      row(QStringLiteral("Fitness cutoff"), Number(s.Target), QStringLiteral("N (N &minus; 1) / 2 pairs: a solution"));
  html += QStringLiteral("</table>\n");
  html += Context.Initialized ? QStringLiteral(
                                    "<p>These are the values of the algorithm as it stands (after the last "
                                    "initialization, run or load).</p>\n")
                              : QStringLiteral("<p>These are the values the next Run sets up.</p>\n");
  html += QStringLiteral(R"(
<h3>Solutions and hits</h3>
<p>A <b>solution</b> is a board on which no queen attacks another: its fitness equals the cutoff.
A method's block in the log shows a solution when its <b>Max Fitness</b> equals the cutoff; the
method then stops at that generation.</p>
<p>In an experiment a run <b>hits</b> when any board it scored reached the cutoff, the start
population included; its <b>hit generation</b> is the first generation that held one (0 for the
start population). A Roulette run can hit and still end without a solution: its later generations
lost the board again.</p>
<p>Every method of a Run starts from the same population. With <b>Same random numbers for every
method</b> off, each method goes on with the random numbers where the one before it stopped; on,
each starts from the same state. Either way one Run is an anecdote: the Experiments page repeats
it from many seeds.</p>
)");
  return html;
}

QString ExperimentsHtml(const THelpContext& /*Context*/) {
  return QStringLiteral(R"(<h2>The Experiments page</h2>
<p>One Run on the main page is an anecdote: another seed may crown another method. An
<b>experiment</b> repeats the comparison run many times, each <b>repeat</b> from a seed of its
own, for every problem size and configuration chosen, and says how often and how fast each
method reaches the target, and which differences are more than chance. A repeat is exactly the
Run the main page makes from a fresh start with the repeat's seed.</p>

<h3>Setting it up</h3>
<p>The fields above the table describe the experiment: the problems and their sizes (queen counts
such as <tt>8,10-12</tt>), lists of the GA's settings to compare (each combination is one
<b>configuration</b>), the budget in generations or in evaluations, the repeats, a label, the
seed, <b>Same random numbers for every method</b> and the jobs (worker threads). Each field is
checked as you type, and the page remembers them.</p>

<h3>Running, stopping, resuming</h3>
<table cellspacing="0" cellpadding="3">
<tr><td valign="top"><b>Start</b></td><td>Asks for a folder (a new one beside the last used) and
runs the repeats on worker threads, writing each finished repeat into the folder as
<tt>nqueens-ga batch</tt> writes it. The window stays usable; the progress bar counts the rows,
and the table and the chart show the results so far, at least once a second.</td></tr>
<tr><td valign="top"><b>Stop</b></td><td>Ends the experiment soon. Every finished repeat stays in
the folder and in the table, marked &ldquo;stopped after K of M repeats&rdquo;. Closing the
window, or a crash, keeps them too.</td></tr>
<tr><td valign="top"><b>Resume</b></td><td>Continues a stopped experiment in its folder with the
repeats still missing. The files end up exactly as if it had never stopped.</td></tr>
<tr><td valign="top"><b>Open</b></td><td>Shows an experiment folder, finished or stopped, whether
this page, <tt>nqueens-ga batch</tt> or the cluster version wrote it.</td></tr>
<tr><td valign="top"><b>Report&hellip;</b></td><td>Writes the report folder that
<tt>nqueens-ga report</tt> writes (the tables, the figures and a paragraph saying how the
experiment was made, in Markdown and LaTeX) and opens <tt>report.md</tt>.</td></tr>
<tr><td valign="top"><b>Export</b></td><td>Copies the experiment's folder into a new or empty
folder, making it if needed.</td></tr>
</table>
<p>With several configurations, the one shown is chosen above the table, as is the problem size
of the chart.</p>

<h3>The table</h3>
<p>One row per problem size, configuration and method:</p>
<table cellspacing="0" cellpadding="3">
<tr><td valign="top"><b>Queens</b></td><td>The problem size the row is about.</td></tr>
<tr><td valign="top"><b>Method</b></td><td>The selection method.</td></tr>
<tr><td valign="top"><b>Hits</b></td><td>The share of the repeats that <b>hit</b>: some board
the run scored reached the fitness cutoff (a solution), the start population included. The
tooltip gives the count, &ldquo;17 of 20 runs hit the target&rdquo;.</td></tr>
<tr><td valign="top"><b>[95% interval]</b></td><td>Beside the share: the range in which the
method's true hit rate lies with 95&nbsp;% confidence, given this many repeats (Wilson's
interval). Few repeats give a wide interval; two methods whose intervals overlap widely have not
been told apart.</td></tr>
<tr><td valign="top"><b>ERT</b></td><td>The expected running time: all the generations the
method's runs took (a run that never hit counts its whole budget), divided by the number of
hits. It is how long you would wait for a solution if you restarted the method until one came.
Lower is better; a dash means nothing hit.</td></tr>
<tr><td valign="top"><b>Median</b></td><td>The median hit generation of the runs that hit: the
first generation that held a solution (0 for the start population).</td></tr>
<tr><td valign="top"><b>Differs from</b></td><td>The methods this one differs from beyond chance,
with the better one and the <b>effect</b>; the tooltip holds the whole comparison. Dash: no
difference shown.</td></tr>
</table>

<h3>How two methods are compared</h3>
<p>Two methods are compared repeat by repeat, since both ran from the same seed. On hits:
McNemar's test counts the repeats where only one of them hit; its effect is the <b>odds
ratio</b>, how many times more often the first hit where the second missed than the other way
round (above 1 favours the first). On run length: the signed-rank test, a run that never hit
counting as longer than any hit; its effect is <b>&Acirc;12</b>, the chance that a run of the
first is shorter than a run of the second (a tie counting half) (0.5: no difference; above 0.5 favours the first).
Every test of one problem size and configuration forms one family, and their p values are raised
by Holm's correction, so that testing many pairs does not make chance look like a difference.
Two methods <b>differ</b> when a corrected p value lies below 0.05. While an experiment runs the
table shows hits, intervals and ERT; the tests and effects appear at Stop and at the end.</p>

<h3>The chart</h3>
<p>Under the table, the run-length <b>ECDF</b> of the size chosen: for each generation, the share
of the runs of each method that had hit by then. A curve that rises early and high belongs to a
method that hits often and fast.</p>

<h3>Replay</h3>
<p>Double-click a row to run its repeat 0 again on the main page: a fresh start with the
experiment's seed, settings and random-number setting, so the log is that repeat's run (the
board for N-Queens, the best individual's bits for the other problems). This is how to look at a
single run behind a number in the table.</p>
)");
}

}  // namespace zp::app
