#!/usr/bin/env python3
"""Writes the largest GA documents a load accepts, to measure the memory a
load and a save of each needs and to check that what each of them saves loads
back (the limits are those of persistence/GADocumentData.h and
persistence/XMLDocument.h):

  scripts/limit_documents.py OUTDIR
  /usr/bin/time -f %M build/release/cli/nqueens-ga -e "load OUTDIR/all.xml; save /tmp/copy.xml"

individuals.xml  the most individuals, each of an empty chromosome
bits.xml         the longest chromosomes, as many as the bits of a population
                 allow, with one-bit genes up to the gene values of a population
                 (nqueens-ga refuses it: a generation would take too many steps
                 of the N-Queens fitness; so it does escaped_genes.xml)
all.xml          the most individuals, each at its share of the bits, gene
                 values and value text of a population (enumeration genes)
genes.xml        the most genes a genotype may hold, float genes with names
                 that fill the text of a genotype, no population
names.xml        a gene name and a chromosome name that fill the text of a
                 genotype and of a population with '>' (4 characters when saved)
escaped_individuals.xml  every limit at once but the genes: the most
                 individuals with names, 4 enumeration genes holding the most
                 entries, all texts made of '<', '&', '>' and carriage returns
escaped_genes.xml        every limit at once but the individuals: the most
                 genes, 16 chromosomes of the longest length, texts as above
"""
import argparse
import os

INDIVIDUALS = 1 << 16
POPULATION_BITS = 1 << 24
CHROMOSOME_BITS = 1 << 20
GENE_VALUES = 1 << 18
VALUE_TEXT = 1 << 23
NAME_TEXT = 1 << 22
GENES = 1 << 14
ENTRIES = 1 << 16
GENOTYPE_TEXT = 1 << 22
FILE_BYTES = 1 << 26
TAGS = 1 << 21

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


def saved_length(text):
    """The length of a text in a saved document: '<' and '>' become &lt; and
    &gt;, '&' becomes &amp;, a carriage return &#13;."""
    return sum(4 if c in "<>" else 5 if c in "&\r" else 1 for c in text)


def escaped(text):
    """The text as a document may hold it: '>' stays, the others are references."""
    return text.replace("&", "&amp;").replace("<", "&lt;").replace("\r", "&#13;")


def filled(prefix, length):
    """prefix, then '<', '&', '>' and carriage returns (then 'x') up to a saved length of exactly length."""
    pieces, used = [prefix], saved_length(prefix)
    while True:
        for c in "<&>\r":
            if used + saved_length(c) > length:
                return "".join(pieces) + "x" * (length - used)
            pieces.append(c)
            used += saved_length(c)


def boolean(size, name="b"):
    return "<BooleanGene><Name>%s</Name><Size>%d</Size></BooleanGene>\n" % (escaped(name), size)


def float_gene(size, name):
    return ("<FloatGene><Name>%s</Name><Size>%d</Size><MinValue>-1.5E-300</MinValue><MaxValue>1.5E300</MaxValue>"
            "<PreserveSignBit>true</PreserveSignBit></FloatGene>\n" % (escaped(name), size))


def enumeration(size, entries, name="e"):
    return ("<EnumerationGene><Name>%s</Name><Size>%d</Size><MinValue>0</MinValue><MaxValue>0</MaxValue>"
            "<PreserveSignBit>false</PreserveSignBit>%s</EnumerationGene>\n"
            % (escaped(name), size, "".join("<Enumeration>%s</Enumeration>" % escaped(e) for e in entries)))


def chromosome(bits, name="c"):
    return "<Chromosome><Name>%s</Name><Genes><Bits>%s</Bits></Genes></Chromosome>\n" % (escaped(name), bits)


def write(path, size, genes, chromosomes):
    with open(path, "w", encoding="ascii", newline="") as out:
        out.write(HEAD + '<GenoType Size="%d">\n' % size)
        for gene in genes:
            out.write(gene)
        out.write("</GenoType>\n<Chromosomes>\n")
        for c in chromosomes:
            out.write(c)
        out.write(TAIL)
    assert os.path.getsize(path) <= FILE_BYTES, path
    with open(path, "rb") as f:
        assert f.read().count(b"<") <= TAGS, path


def field(value, width):
    """A gene's bits that read as a number below 2^(width - 2) whichever end
    holds the lowest bit: the outer bits stay clear."""
    return "0" + format(value % (1 << (width - 2)), "0%db" % (width - 2)) + "0"


def escaped_population(path, individuals, genes, bits):
    """Every limit at once but one: `individuals` x `genes` enumeration genes
    make the gene values, the entries and all texts are at their limits."""
    assert individuals * genes == GENE_VALUES and individuals * bits == POPULATION_BITS
    entries = ENTRIES // genes
    width = len(format(entries, "b"))  # the size the entries give a gene
    entry_length = VALUE_TEXT // individuals // genes  # the longest value each gene may have
    names = [filled("g%d " % g, (GENOTYPE_TEXT - ENTRIES * entry_length) // genes) for g in range(genes)]
    gene_text = [enumeration(width, [filled("%d " % k, entry_length) for k in range(entries)], names[g])
                 for g in range(genes)]
    assert sum(map(saved_length, names)) + ENTRIES * entry_length == GENOTYPE_TEXT
    name_length = NAME_TEXT // individuals
    rest = "01" * ((bits - genes * width) // 2)

    def member(i):
        return chromosome("".join(field(i + g, width) for g in range(genes)) + rest, filled("%d " % i, name_length))

    write(path, bits, gene_text, (member(i) for i in range(individuals)))


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
    # All bits clear: every enumeration gene decodes to its one entry. The
    # genes take the size their one entry gives them (a load would change any
    # other), and the GenoType Size gives the chromosomes their length.
    write(at("all.xml"), bits * genes, [enumeration(1, [entry])] * genes,
          [chromosome("0" * (bits * genes))] * INDIVIDUALS)

    name = "n" * (GENOTYPE_TEXT // GENES)
    write(at("genes.xml"), 0, [float_gene(64, name)] * GENES, [])

    write(at("names.xml"), 0, [boolean(0, ">" * (GENOTYPE_TEXT // 4))], [chromosome("", ">" * (NAME_TEXT // 4))])

    escaped_population(at("escaped_individuals.xml"), INDIVIDUALS, GENE_VALUES // INDIVIDUALS,
                       POPULATION_BITS // INDIVIDUALS)
    escaped_population(at("escaped_genes.xml"), GENE_VALUES // GENES, GENES, CHROMOSOME_BITS)

if __name__ == "__main__":
    main()
