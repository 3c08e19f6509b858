// The size of what a save writes: the length a text takes once escaped, and
// the most bytes and tags ('<') a GA document can take for a component of
// given amounts. The load limits (GADocumentData.h) are chosen so that this
// bound stays within what a load reads: whatever loads, saves to a file that loads.
//
//   SavedTextLength("a<b");  // 6, written "a&lt;b"
#pragma once

#include <cstdint>
#include <string_view>

namespace zp::xml {

// The length Text takes as an element's text in a saved document: "<" and
// ">" are written as "&lt;" and "&gt;", "&" as "&amp;" and a carriage return
// as "&#13;"; every other byte (quotes, tab and line feed too) stays as it is,
// but in a text of blanks alone, which is written all in references ("&#32;",
// "&#9;", "&#10;", "&#13;").
constexpr int64_t SavedTextLength(std::string_view Text) {
  const bool blanks = !Text.empty() && Text.find_first_not_of(" \t\n\r") == std::string_view::npos;
  int64_t length = 0;
  for (const char c : Text) {
    if (blanks)
      length += c == '\t' ? 4 : 5;
    else
      length += c == '<' || c == '>' ? 4 : c == '&' || c == '\r' ? 5 : 1;
  }
  return length;
}

// What a component holds, in the units the load limits count.
struct TDocumentAmounts {
  int64_t Genes = 0;         // gene elements of the genotype
  int64_t Entries = 0;       // enumeration entries of all its genes
  int64_t GenoTypeText = 0;  // saved length of the gene names and entries
  int64_t Individuals = 0;
  int64_t Bits = 0;       // individuals x chromosome bits
  int64_t NameText = 0;   // saved length of the individuals' names
  int64_t Values = 0;     // individuals x genes: one value element each
  int64_t ValueText = 0;  // saved length of those values
};

struct TSavedSize {
  int64_t Bytes = 0;
  int64_t Tags = 0;
};

namespace saved_size {

// The writer indents by two spaces per level and puts each element on a line
// of its own; an element holding text keeps it on its line. The deepest of the
// three documents is the algorithm's: GeneticAlgorithm 0 > Domain 1 >
// GenoType 2 > gene 3 > its values 4, and Chromosomes 2 > Chromosome 3 >
// Name, Genes 4 > Bits, gene values 5.

// "<Name>text</Name>" and its line end at Depth, without the text. An empty
// element, written "<Name />", is shorter.
constexpr int64_t ValueLine(int64_t Depth, std::string_view Name) {
  return 2 * Depth + 2 * static_cast<int64_t>(Name.size()) + 6;
}
// "<Name>" and "</Name>" on lines of their own at Depth.
constexpr int64_t OpenCloseLines(int64_t Depth, std::string_view Name) {
  return 4 * Depth + 2 * static_cast<int64_t>(Name.size()) + 7;
}

// The widest texts of numbers: a Size of at most 2^20 ("1048576"), a
// float or double with 15 digits ("-4.94065645841247E-324"), a boolean ("false").
inline constexpr int64_t kSizeText = 7;
inline constexpr int64_t kNumberText = 22;
inline constexpr int64_t kBooleanText = 5;
// The name an unnamed gene or individual is saved with: its class name
// ("TZPGAGene", "TZPGAIndividual").
inline constexpr int64_t kDefaultNameText = 16;

// The declaration, the settings (each number at its widest), Domain, the
// GenoType Size attribute (which counts as a tag) and the two list elements;
// a test checks it.
inline constexpr int64_t kFixedBytes = 1024;
inline constexpr int64_t kFixedTags = 64;

// The widest gene element is an EnumerationGene: Name, Size, MinValue,
// MaxValue and PreserveSignBit; its names and entries count in GenoTypeText.
inline constexpr int64_t kGeneBytes = OpenCloseLines(3, "EnumerationGene") + ValueLine(4, "Name") + kDefaultNameText +
                                      ValueLine(4, "Size") + kSizeText + ValueLine(4, "MinValue") + kNumberText +
                                      ValueLine(4, "MaxValue") + kNumberText + ValueLine(4, "PreserveSignBit") +
                                      kBooleanText;
inline constexpr int64_t kGeneTags = 2 + 5 * 2;
inline constexpr int64_t kEntryBytes = ValueLine(4, "Enumeration");
inline constexpr int64_t kEntryTags = 2;
// Chromosome, Name, Genes and Bits; the name and the bits count apart.
inline constexpr int64_t kIndividualBytes = OpenCloseLines(3, "Chromosome") + ValueLine(4, "Name") + kDefaultNameText +
                                            OpenCloseLines(4, "Genes") + ValueLine(5, "Bits");
inline constexpr int64_t kIndividualTags = 4 * 2;
// The longest of the four value elements; the value itself counts in ValueText.
inline constexpr int64_t kValueBytes = ValueLine(5, "EnumerationGeneValue");
inline constexpr int64_t kValueTags = 2;

}  // namespace saved_size

// The most a save of a component of these amounts writes, whichever of the
// three documents it is: every element at its widest and deepest.
constexpr TSavedSize SavedSizeBound(const TDocumentAmounts& A) {
  using namespace saved_size;
  TSavedSize size;
  size.Bytes = kFixedBytes + A.Genes * kGeneBytes + A.Entries * kEntryBytes + A.GenoTypeText +
               A.Individuals * kIndividualBytes + A.Bits + A.NameText + A.Values * kValueBytes + A.ValueText;
  size.Tags = kFixedTags + A.Genes * kGeneTags + A.Entries * kEntryTags + A.Individuals * kIndividualTags +
              A.Values * kValueTags;
  return size;
}

}  // namespace zp::xml
