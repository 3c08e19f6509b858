#!/usr/bin/env python3
"""Writes the largest GA documents a load accepts, to measure the memory a
load and a save of each needs (the limits are those of
persistence/GADocumentData.h and persistence/XMLDocument.h):

  scripts/limit_documents.py OUTDIR
  /usr/bin/time -f %M build/release/cli/nqueens-ga -e "load OUTDIR/all.xml; save /tmp/copy.xml"

individuals.xml  the most individuals, each of an empty chromosome
bits.xml         the longest chromosomes, as many as the bits of a population
                 allow, with one-bit genes up to the gene values of a population
all.xml          the most individuals, each at its share of the bits, gene
                 values and value text of a population (enumeration genes)
genes.xml        the most genes a genotype may hold, with long names, no population
names.xml        one individual whose name fills the file with '>' (written as 4 characters)
"""
import argparse
import os

INDIVIDUALS = 1 << 16
POPULATION_BITS = 1 << 24
CHROMOSOME_BITS = 1 << 20
GENE_VALUES = 1 << 18
VALUE_TEXT = 1 << 24
GENES = 1 << 14
FILE_BYTES = 1 << 26

HEAD = """<?xml version="1.0"?>
<GeneticAlgorithm>
<DiversityLimit>0.02</DiversityLimit><FitnessCutoff>28</FitnessCutoff><FitnessMethod>fmMaximize</FitnessMethod>
<Generation>0</Generation><UseDiversityLimit>false</UseDiversityLimit><UseFitnessCutoff>true</UseFitnessCutoff>
<Reproduction><CrossoverMethod>cmGeneBoundary</CrossoverMethod><CrossoverProbability>0.98</CrossoverProbability>
<InversionProbability>0.1</InversionProbability><MutationProbability>0.04</MutationProbability>
<SelectionMethod><Method>smRoulette</Method><ElitistPercent>0.1</ElitistPercent>
<TournamentField>4</TournamentField></SelectionMethod></Reproduction>
<Domain>
"""
TAIL = "</Chromosomes>\n</Domain>\n</GeneticAlgorithm>\n"


def boolean(size, name="b"):
    return "<BooleanGene><Name>%s</Name><Size>%d</Size></BooleanGene>\n" % (name, size)


def enumeration(size, entry):
    return ("<EnumerationGene><Name>e</Name><Size>%d</Size><MinValue>0</MinValue><MaxValue>0</MaxValue>"
            "<PreserveSignBit>false</PreserveSignBit><Enumeration>%s</Enumeration></EnumerationGene>\n" % (size, entry))


def chromosome(bits, name="c"):
    return "<Chromosome><Name>%s</Name><Genes><Bits>%s</Bits></Genes></Chromosome>\n" % (name, bits)


def write(path, size, genes, chromosomes):
    with open(path, "w", encoding="ascii") as out:
        out.write(HEAD + '<GenoType Size="%d">\n' % size)
        for gene in genes:
            out.write(gene)
        out.write("</GenoType>\n<Chromosomes>\n")
        for c in chromosomes:
            out.write(c)
        out.write(TAIL)
    assert os.path.getsize(path) <= FILE_BYTES, path


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("outdir")
    outdir = parser.parse_args().outdir
    os.makedirs(outdir, exist_ok=True)
    at = lambda name: os.path.join(outdir, name)

    write(at("individuals.xml"), 0, [], ["<Chromosome/>\n"] * INDIVIDUALS)

    count = POPULATION_BITS // CHROMOSOME_BITS
    ones = GENE_VALUES // count
    write(at("bits.xml"), CHROMOSOME_BITS, [boolean(1)] * ones, [chromosome("01" * (CHROMOSOME_BITS // 2))] * count)

    genes = GENE_VALUES // INDIVIDUALS
    bits = POPULATION_BITS // INDIVIDUALS // genes
    entry = "x" * (VALUE_TEXT // INDIVIDUALS // genes)
    # All bits clear: every enumeration gene decodes to its one entry.
    write(at("all.xml"), 0, [enumeration(bits, entry)] * genes, [chromosome("0" * (bits * genes))] * INDIVIDUALS)

    name = "n" * ((FILE_BYTES - 1024) // GENES // 4 - 64)
    write(at("genes.xml"), 0, [boolean(0, name)] * GENES, [])

    write(at("names.xml"), 0, [], [chromosome("", ">" * (FILE_BYTES - 2048))])


if __name__ == "__main__":
    main()
