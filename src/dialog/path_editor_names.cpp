#include "dialog/path_editor_names.h"

#include "text/language.h"

namespace lurvane {
namespace {

struct Words {
    const char* Point;
    const char* Of;
    const char* Editor;
};

// German for any language without words of its own, as the interface does.
const Words& WordsOf(int32_t language) {
    static constexpr Words kGermanWords{"Punkt", "von", "Wellenbereich"};
    static constexpr Words kEnglishWords{"Point", "of", "Wave area"};
    static constexpr Words kItalianWords{"Punto", "di", "Area delle onde"};
    return language == kEnglish ? kEnglishWords : language == kItalian ? kItalianWords : kGermanWords;
}

}  // namespace

std::string MarkerName(int32_t language, std::size_t index, std::size_t count) {
    const Words& words = WordsOf(language);
    return std::string(words.Point) + ' ' + std::to_string(index + 1) + ' ' + words.Of + ' ' + std::to_string(count);
}

std::string PathEditorName(int32_t language) { return WordsOf(language).Editor; }

}  // namespace lurvane
