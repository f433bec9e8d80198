#include "authoring/shipped_filters.h"

#include "authoring/lattice_fit.h"

namespace {

// The plain fit raises tritanopia's maximum; one reweighted pass lowers it instead.
LatticeFitOptions MakeRobustFit() {
    LatticeFitOptions options;
    options.robustPasses = 1;
    return options;
}
const LatticeFitOptions kRobustFit = MakeRobustFit();

std::vector<ShippedFilterSpec> MakeSpecs() {
    using D = CvdDeficiency;
    return {
        {"protanopia", "Protanopia (no red cones)", "protanopia: the long-wavelength cones missing",
         "Vienot, Brettel & Mollon 1999, protan projection", VienotDichromacy(D::kProtan), true},
        {"deutanopia", "Deuteranopia (no green cones)",
         "deuteranopia: the middle-wavelength cones missing",
         "Vienot, Brettel & Mollon 1999, deutan projection", VienotDichromacy(D::kDeutan), true},
        {"tritanoptia", "Tritanopia (no blue cones)",
         "tritanopia: the short-wavelength cones missing",
         "Brettel, Vienot & Mollon 1997, tritan half-planes (485/660 nm)",
         BrettelDichromacy(D::kTritan), true, kRobustFit},
        {"hue_gbr", "Hue rotation GBR (red shows as blue)",
         "hue rotation by -120 degrees: red shows as blue, green as red, blue as green",
         "channel rotation: output red = input green, green = blue, blue = red",
         ChannelRotation(1, 2, 0), false},
        {"hue_brg", "Hue rotation BRG (red shows as green)",
         "hue rotation by +120 degrees: red shows as green, green as blue, blue as red",
         "channel rotation: output red = input blue, green = red, blue = green",
         ChannelRotation(2, 0, 1), false},
        {"protanomaly", "Protanomaly (weak red cones)",
         "protanomaly: long-wavelength cones shifted, severity 0.6",
         "Machado, Oliveira & Fernandes 2009, protan, severity 0.6",
         MachadoAnomaly(D::kProtan, 0.6), true},
        {"deuteranomaly", "Deuteranomaly (weak green cones)",
         "deuteranomaly: middle-wavelength cones shifted, severity 0.6",
         "Machado, Oliveira & Fernandes 2009, deutan, severity 0.6",
         MachadoAnomaly(D::kDeutan, 0.6), true},
        {"tritanomaly", "Tritanomaly (weak blue cones)",
         "tritanomaly: short-wavelength cones shifted, severity 0.6",
         "Machado, Oliveira & Fernandes 2009, tritan, severity 0.6",
         MachadoAnomaly(D::kTritan, 0.6), true},
        {"achromatopsia", "Achromatopsia (no colour vision)",
         "achromatopsia (rod monochromacy): no colour vision",
         "luminance Y = 0.2126 R + 0.7152 G + 0.0722 B in linear light", Achromatopsia(), true},
    };
}

// Japanese after the Japanese Society of Ophthalmology's terms (1型/2型/3型, 2色覚 for the
// dichromacies, 3色覚 for the anomalies) with the cone type in brackets, as the English names
// give it.
ShippedLanguage MakeJapanese() {
    return {1041,
            "Japanese",
            {
                {"protanopia", "1型2色覚（赤錐体なし）"},
                {"deutanopia", "2型2色覚（緑錐体なし）"},
                {"tritanoptia", "3型2色覚（青錐体なし）"},
                {"hue_gbr", "色相回転 GBR（赤→青）"},
                {"hue_brg", "色相回転 BRG（赤→緑）"},
                {"protanomaly", "1型3色覚（赤錐体が弱い）"},
                {"deuteranomaly", "2型3色覚（緑錐体が弱い）"},
                {"tritanomaly", "3型3色覚（青錐体が弱い）"},
                {"achromatopsia", "1色覚（色の区別なし）"},
                {"cycle_dichromacy", "切り替え表示: 通常と2色覚"},
                {kNormalFilterId, "通常の色覚"},
            }};
}

std::string TranslatedName(const ShippedLanguage& language, const std::string& id,
                           const std::string& fallback) {
    for (const ShippedTranslation& t : language.names) {
        if (t.id == id) {
            return t.displayName;
        }
    }
    return fallback;
}

} // namespace

const std::vector<ShippedLanguage>& ShippedLanguages() {
    static const std::vector<ShippedLanguage> languages{MakeJapanese()};
    return languages;
}

const std::vector<ShippedFilterSpec>& ShippedColorMapFilters() {
    static const std::vector<ShippedFilterSpec> specs = MakeSpecs();
    return specs;
}

const ShippedReferenceSpec& ShippedReferenceFilter() {
    static const ShippedReferenceSpec spec{
        "cycle_dichromacy",
        "Cycle: normal and the dichromacies",
        1,
        {{"_normal", 1500}, {"protanopia", 1500}, {"deutanopia", 1500}, {"tritanoptia", 1500}}};
    return spec;
}

std::vector<GeneratedLattices> GenerateLattices() {
    const std::vector<ShippedFilterSpec>& specs = ShippedColorMapFilters();
    std::vector<GeneratedLattices> out(specs.size());
    for (std::size_t i = 0; i < specs.size(); ++i) {
        out[i].baseline = BaselineLattice(specs[i].cvd);
        out[i].fitted = FitLattice(specs[i].cvd, specs[i].fit);
        out[i].shipsFitted = specs[i].shipFitted && out[i].fitted != out[i].baseline;
    }
    return out;
}

namespace {

// One set of files: the shipped filters under the names `nameOf` gives them.
template <class NameOf>
void AppendFileSet(const std::vector<GeneratedLattices>& lattices, const std::string& folder,
                   const std::vector<std::string>& extraComment, NameOf nameOf,
                   std::vector<GeneratedFile>& files) {
    const std::vector<ShippedFilterSpec>& specs = ShippedColorMapFilters();
    const std::string regenerate = "Generated by zeziriv-filtergen; do not edit. Regenerate with "
                                   "'zeziriv-filtergen write data/filter/system'.";
    for (std::size_t i = 0; i < specs.size() && i < lattices.size(); ++i) {
        const ShippedFilterSpec& s = specs[i];
        std::vector<std::string> comment{
            "Simulates " + s.simulates + ".", "Model: " + s.model + ", in linear light.",
            lattices[i].shipsFitted
                ? "Lattice: fitted to the model over the whole colour cube as the table reads it "
                  "(within 2 codes of the model at every lattice colour)."
                : "Lattice: the model at the 216 lattice colours, rounded."};
        comment.insert(comment.end(), extraComment.begin(), extraComment.end());
        comment.push_back(regenerate);
        files.push_back(
            {folder + s.id + ".xml", WriteColorMapFilter(s.id, nameOf(s.id, s.displayName),
                                                         lattices[i].Shipped(), comment)});
    }
    const ShippedReferenceSpec& ref = ShippedReferenceFilter();
    std::vector<std::string> comment{"Plays normal vision and the three dichromacies, "
                                     "1.5 seconds each."};
    comment.insert(comment.end(), extraComment.begin(), extraComment.end());
    comment.push_back(regenerate);
    files.push_back(
        {folder + ref.id + ".xml", WriteReferenceFilter(ref.id, nameOf(ref.id, ref.displayName),
                                                        ref.repeat, ref.members, comment)});
}

} // namespace

std::vector<GeneratedFile> GenerateShippedFiles(const std::vector<GeneratedLattices>& lattices) {
    std::vector<GeneratedFile> files;
    AppendFileSet(
        lattices, "", {}, [](const std::string&, const std::string& name) { return name; }, files);
    for (const ShippedLanguage& language : ShippedLanguages()) {
        const std::string folder = std::to_string(language.languageId) + "/";
        const std::string names = "Display names in " + language.language + " (language " +
                                  std::to_string(language.languageId) +
                                  "); the colours are those of filter\\system.";
        AppendFileSet(
            lattices, folder, {names},
            [&](const std::string& id, const std::string& name) {
                return TranslatedName(language, id, name);
            },
            files);
        // Only its name is used: the identity filter is built in.
        files.push_back({folder + kNormalFilterId + ".xml",
                         WriteColorMapFilter(
                             kNormalFilterId, TranslatedName(language, kNormalFilterId, "normal"),
                             BaselineLattice(IdentityModel()),
                             {"Names the built-in identity filter in " + language.language +
                                  "; its colours are never used.",
                              "Generated by zeziriv-filtergen; do not edit. Regenerate with "
                              "'zeziriv-filtergen write data/filter/system'."})});
    }
    return files;
}
