#include "workbench/ComparisonRun.h"

#include "platform/Numbers.h"
#include "platform/Random.h"

namespace zp::queens {

using namespace zp::ga;

void ApplyStoredSettings(TZPCustomGeneticAlgorithm& Algorithm) {
  TZPCustomGeneticAlgorithm& ga = Algorithm;
  ga.SetDiversityLimit(0.02);
  ga.SetElitistPct(0.1);
  ga.SetFitnessCutoff(28);
  ga.SetFitnessMethod(TGAFitnessMethod::fmMaximize);
  for (int i = 0; i < 8; ++i) {
    TZPGAGene& gene = ga.Genes().Add();
    gene.SetGeneType(TGeneType::gtInteger);
    gene.SetName("Col" + std::to_string(i));
    gene.SetSize(3);
  }
  ga.SetGeneSize(24);
  ga.SetCrossoverProbability(0.98);
  ga.SetInversionProbability(0.1);
  ga.SetMutationProbability(0.02);
  ga.SetTournamentField(4);
  ga.SetUseFitnessCutoff(true);
}

TRunCore::TRunCore(TZPCustomGeneticAlgorithm& Algorithm, IProblem& Problem, IRunObserver& Observer)
    : ga_(Algorithm), problem_(&Problem), observer_(&Observer), log_(Observer.WantsLog()) {
  ga_.OnInitialization = [this](TZPCustomGeneticAlgorithm&, bool&) { Initialization(); };
  ga_.OnEvaluatePopulation = [this](TZPCustomGeneticAlgorithm&, TZPGAPopulation& population, int32_t first,
                                    std::span<TGAFitness> fitness) {
    problem_->Score(ga_.Genes(), population, first, fitness);
  };
  ga_.OnEvolve = [this](TZPCustomGeneticAlgorithm&) {
    observer_->OnGeneration(TGenerationReport{ga_.SelectionMethod(), ga_.Generation(), ga_.MaxFitness(),
                                              ga_.AvgFitness(), ga_.MinFitness()});
  };
}

TRunCore::~TRunCore() {
  ga_.OnInitialization = nullptr;
  ga_.OnEvaluatePopulation = nullptr;
  ga_.OnEvolve = nullptr;
}

void TRunCore::ApplySettings(const TGASettings& Settings) {
  ga_.SetInitialPopulation(Settings.Population.value_or(4 * problem_->Size()));
  ga_.SetCrossoverProbability(Settings.CrossoverProbability);
  ga_.SetInversionProbability(Settings.InversionProbability);
  ga_.SetTournamentField(Settings.TournamentField);
  ga_.SetElitistPct(Settings.ElitistPct);
  ga_.SetCrossoverMethod(Settings.CrossoverMethod);
  mutation_ = Settings.MutationProbability;
  mutation_per_bits_ = Settings.MutationPerBits;
}

void TRunCore::Log(const std::string& Line) {
  if (log_) observer_->OnLog(Line);
}

void TRunCore::Initialize() {
  if (!problem_->KeepsGeneSize()) ga_.SetGeneSize(0);
  ga_.Initialize();
}

void TRunCore::Initialization() {
  // Called before the component draws the start population.
  start_seed_ = ga_.RandomSource().Seed();
  problem_->BuildGenotype(ga_.Genes());
  ga_.SetFitnessCutoff(problem_->Target());
  ga_.SetMutationProbability(mutation_.value_or(mutation_per_bits_ / ga_.GeneSize()));
  if (log_) {
    const TZPGAGenes& genes = ga_.Genes();
    const int count = genes.Count();
    Log("");
    Log("Population Initialized.");
    Log(problem_->DescriptionLine());
    Log("     Chromosome Size is " + std::to_string(ga_.GeneSize()) + " (" + std::to_string(count) + " genes X " +
        std::to_string(count > 0 ? genes.Items(0).Size() : 0) + " bits)");
    Log("     Population is " + std::to_string(ga_.Population().Count()));
    Log("     Fitness Cutoff is " + FormatFloat15(ga_.FitnessCutoff()));
    Log("     Mutation probability is " + FormatFloat15(ga_.MutationProbability()));
    Log("");
  }
  observer_->OnCurvesReset(ga_.FitnessCutoff());
}

void TRunCore::SetUpMethod(TGASelectionMethod Method, int32_t Generation, const TZPGAPopulation& Start) {
  ga_.SetSelectionMethod(Method);
  ga_.SetGeneration(Generation);
  ga_.SetPopulation(Start);
  ga_.EvaluatePopulation();
}

TRunOutcome TRunCore::Run(int32_t Generations, std::span<const TGASelectionMethod> Methods, TRandomStreams Streams,
                          std::stop_token Stop) {
  ga_.SetStopToken(std::move(Stop));
  TZPGAPopulation start(nullptr, ga_.Population().Factory());
  if (!ga_.Initialized()) Initialize();
  start.Assign(ga_.Population());
  const int32_t start_generation = ga_.Generation();
  TRandom& random = ga_.RandomSource();
  const uint32_t start_state = random.Seed();
  TRunOutcome outcome;
  for (TGASelectionMethod method : Methods) {
    if (Streams == TRandomStreams::rsShared) random.SetSeed(start_state);
    SetUpMethod(method, start_generation, start);
    observer_->OnMethodStarted(
        TGenerationReport{method, start_generation, ga_.MaxFitness(), ga_.AvgFitness(), ga_.MinFitness()});
    ga_.EvolveGenerations(Generations);
    if (ga_.Stopped()) {
      outcome = {true, method, ga_.Generation() - start_generation};
      break;
    }
    ReportMethod();
  }
  ga_.SetStopToken({});
  return outcome;
}

void TRunCore::ReportMethod() {
  const TZPCustomGeneticAlgorithm& ga = ga_;
  const TZPGAIndividual* fittest = ga.FittestIndividual();
  const std::string bits = fittest ? fittest->Bits().DisplayText() : std::string();
  if (log_) {
    Log("");
    Log("Selection Method: " + ToString(ga.SelectionMethod()));
    Log("Number of generations:" + std::to_string(ga.Generation()));
    if (fittest) {
      Log("Fittest Individual:" + bits);
      Log("     Score:" + FormatFloat15(fittest->Fitness()));
    } else {
      Log("Fittest Individual:none, the population is empty");
    }
    Log("Avg Fitness:" + FormatFloat15(ga.AvgFitness()));
    Log("Min Fitness:" + FormatFloat15(ga.MinFitness()));
    Log("Max Fitness:" + FormatFloat15(ga.MaxFitness()));
  }
  observer_->OnMethodFinished(TMethodReport{ga.SelectionMethod(), ga.Generation(), ga.Population().Count(),
                                            ga.MaxFitness(), ga.AvgFitness(), ga.MinFitness(), ga.FitnessCutoff(), bits,
                                            fittest != nullptr && problem_->Solved(ga.MaxFitness())});
}

TRunOutcome RunComparison(IProblem& Problem, const TComparisonRequest& Request, IRunObserver& Observer) {
  TRandom random(Request.Seed);
  TZPGeneticAlgorithm ga;
  ga.SetName("ZPGeneticAlgorithm1");
  ga.SetRandomSource(random);
  ApplyStoredSettings(ga);
  TRunCore core(ga, Problem, Observer);
  core.ApplySettings(Request.Settings);
  core.Initialize();
  return core.Run(Request.Settings.Generations, Request.Methods, Request.Streams, Request.Stop);
}

TResolvedSettings ResolveSettings(IProblem& Problem, const TGASettings& Settings) {
  TRandom random(0);
  TZPGeneticAlgorithm ga;
  ga.SetRandomSource(random);
  ApplyStoredSettings(ga);
  IRunObserver quiet;
  TRunCore core(ga, Problem, quiet);
  core.ApplySettings(Settings);
  core.Initialize();
  return {ga.Population().Count(),   ga.GeneSize(),        ga.MutationProbability(), ga.CrossoverProbability(),
          ga.InversionProbability(), ga.TournamentField(), ga.ElitistPct(),          ga.CrossoverMethod(),
          ga.FitnessCutoff()};
}

}  // namespace zp::queens
