// Names compared in any case, beyond ASCII too, and texts quoted cut short.
#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "platform/file_system.h"

namespace {

TEST(Names, CaseIsFoldedBeyondAscii) {
    const std::tuple<const char*, const char*, bool> pairs[] = {
        {"Magnum.bitm.xml", "magnum.BITM.xml", true},
        {"\xC3\x89p\xC3\xA9\x65", "\xC3\xA9P\xC3\x89\x45", true},  // Épée, éPÉE
        {"\xC5\xA0" "abla", "\xC5\xA1" "ABLA", true},               // Šabla, šABLA
        {"\xCE\xA3", "\xCF\x83", true},                             // Σ, σ
        {"\xC3\xA9", "e", false},
        {"magnum", "magnum ", false},
#ifndef _WIN32
        // As exFAT compares them (Windows compares names as it does).
        {"\xCF\x82", "\xCE\xA3", true},  // ς, Σ
        {"a\xFF", "A\xFF", true},          // a byte that is no UTF-8 stands as it is
        {"a\xFF", "a\xFE", false},
#endif
    };
    for (const auto& [a, b, same] : pairs) EXPECT_EQ(forms::same_in_any_case(a, b), same) << a << " / " << b;
}

TEST(Names, LongTextsAreQuotedCutShortInTheMiddle) {
    EXPECT_EQ(forms::quoted(std::string(200, 'a')), "\"" + std::string(200, 'a') + "\"");
    const std::string cut = forms::quoted(std::string(150, 'a') + std::string(151, 'b'));
    EXPECT_EQ(cut, "\"" + std::string(100, 'a') + "\xE2\x80\xA6(101 characters cut)\xE2\x80\xA6" + std::string(100, 'b') +
                       "\"");
    // Characters, not bytes: é is two bytes and is never split.
    std::string accents;
    for (int i = 0; i < 201; ++i) accents += "\xC3\xA9";
    const std::string bounded = forms::bounded(accents);
    EXPECT_TRUE(bounded.starts_with(accents.substr(0, 200) + "\xE2\x80\xA6(1 characters cut)")) << bounded;
    EXPECT_EQ(bounded.size(), 400u + std::string("\xE2\x80\xA6(1 characters cut)\xE2\x80\xA6").size());
}

}  // namespace
