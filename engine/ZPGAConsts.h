// Value types, enumerations, events and error texts shared by the engine.
#pragma once

#include <array>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/EnumNames.h"
#include "platform/Exceptions.h"
#include "platform/Set.h"

namespace zp::ga {

using TGAFitness = double;
using TGAFitnessArray = std::vector<TGAFitness>;
using TGAProbability = double;  // valid 0 to 1 inclusive

enum class TGeneType { gtUnknown, gtBoolean, gtInteger, gtFloat, gtEnumeration };
enum class TGACrossoverMethod { cmGeneBoundary, cmBitBoundary, cmByteBoundary, cmWordBoundary, cmLongwordBoundary };
enum class TGAFitnessMethod { fmMinimize, fmMaximize };
enum class TGASelectionMethod { smRoulette, smRandom, smTournament, smStochasticTournament, smElitist, smCustom };
enum class TGAGeneticOperation { goCrossover, goMutate, goInvert };
using TGAGeneticOperations = Set<TGAGeneticOperation>;

inline constexpr std::array<std::string_view, 5> kGeneTypeNames{"gtUnknown", "gtBoolean", "gtInteger", "gtFloat",
                                                                "gtEnumeration"};
inline constexpr std::array<std::string_view, 5> kCrossoverMethodNames{
    "cmGeneBoundary", "cmBitBoundary", "cmByteBoundary", "cmWordBoundary", "cmLongwordBoundary"};
inline constexpr std::array<std::string_view, 2> kFitnessMethodNames{"fmMinimize", "fmMaximize"};
inline constexpr std::array<std::string_view, 6> kSelectionMethodNames{
    "smRoulette", "smRandom", "smTournament", "smStochasticTournament", "smElitist", "smCustom"};
inline constexpr std::array<std::string_view, 3> kGeneticOperationNames{"goCrossover", "goMutate", "goInvert"};
static_assert(kGeneTypeNames.size() == static_cast<size_t>(TGeneType::gtEnumeration) + 1);
static_assert(kSelectionMethodNames.size() == static_cast<size_t>(TGASelectionMethod::smCustom) + 1);

inline std::string ToString(TGeneType v) { return EnumName(kGeneTypeNames, v); }
inline std::string ToString(TGACrossoverMethod v) { return EnumName(kCrossoverMethodNames, v); }
inline std::string ToString(TGAFitnessMethod v) { return EnumName(kFitnessMethodNames, v); }
inline std::string ToString(TGASelectionMethod v) { return EnumName(kSelectionMethodNames, v); }
inline std::string ToString(TGAGeneticOperation v) { return EnumName(kGeneticOperationNames, v); }

// The engine's own errors.
class EGAException : public EZPException {
 public:
  using EZPException::EZPException;
};

inline constexpr const char* kNoFitnessFunction = "No fitness function defined";
inline constexpr const char* kNoCustomSelection = "No custom selection function defined";
inline constexpr const char* kNoEnumeratedValue = "No enumerated value found in chromosome";
// A selection handler that picks nobody would leave the generation without a parent.
inline constexpr const char* kNoParentChosen = "The selection handler chose no parent";
inline std::string InvalidEnumeratedValue(const std::string& value) {
  return "\"" + value + "\" is not a valid enumerated value";
}

class TZPCustomGeneticAlgorithm;
class TZPGAIndividual;
class TZPGAPopulation;

// Events; Sender is always the component, var parameters are references.
using TNotifyEvent = std::function<void(TZPCustomGeneticAlgorithm& Sender)>;
using TZPGAInitializationEvent = std::function<void(TZPCustomGeneticAlgorithm& Sender, bool& Initialized)>;
using TZPGAFitnessEvent =
    std::function<void(TZPCustomGeneticAlgorithm& Sender, TZPGAIndividual& Item, TGAFitness& Fitness)>;
// Scores Fitness.size() individuals of Population from index First, one value each, in order.
using TZPGAPopulationFitnessEvent = std::function<void(TZPCustomGeneticAlgorithm& Sender, TZPGAPopulation& Population,
                                                       int32_t First, std::span<TGAFitness> Fitness)>;
using TZPGAIndividualEvent = std::function<void(TZPCustomGeneticAlgorithm& Sender, TZPGAIndividual& Item)>;
using TZPGAParentChildEvent = std::function<void(TZPCustomGeneticAlgorithm& Sender, TZPGAIndividual& Parent1,
                                                 TZPGAIndividual& Parent2, TZPGAIndividual& Child)>;
using TZPGAMutationEvent =
    std::function<void(TZPCustomGeneticAlgorithm& Sender, TZPGAIndividual& Item, bool& DoMutation)>;
using TZPGASelectionEvent =
    std::function<void(TZPCustomGeneticAlgorithm& Sender, TZPGAPopulation& Population, TZPGAIndividual*& Parent)>;
using TZPGACrossoverEvent =
    std::function<void(TZPCustomGeneticAlgorithm& Sender, TZPGAIndividual& Parent1, TZPGAIndividual& Parent2,
                       TZPGAIndividual& Child, int32_t& CrossoverBit, bool& DoMutation)>;

}  // namespace zp::ga
