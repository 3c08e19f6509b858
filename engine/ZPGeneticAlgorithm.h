// Umbrella header of the genetic-algorithm unit: genes, individuals,
// populations and the component.
#pragma once

#include "engine/DataStructures.h"
#include "engine/ZPCustomGeneticAlgorithm.h"
#include "engine/ZPEncodedBits.h"
#include "engine/ZPGAConsts.h"
#include "engine/ZPGAGene.h"
#include "engine/ZPGAIndividual.h"
