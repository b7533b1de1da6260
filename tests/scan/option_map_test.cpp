#include "scan/sane/option_map.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace vellumo::scan;

using namespace saneopt;

namespace {

// Switches one entry off for the length of a test.
struct QuirkOff {
    explicit QuirkOff(const char* n) : name(n) { EXPECT_TRUE(SetQuirkEnabled(name, false)); }
    ~QuirkOff() { SetQuirkEnabled(name, true); }
    const char* name;
};

}  // namespace

TEST(OptionNames, WellKnownNamesFindTheirOptions) {
    const std::vector<std::string> names = {"",       "mode", "depth", "resolution", "brightness",
                                            "source", "tl-x", "tl-y",  "br-x",       "br-y"};
    EXPECT_EQ(FindOption(names, Role::Mode), 1);
    EXPECT_EQ(FindOption(names, Role::Depth), 2);
    EXPECT_EQ(FindOption(names, Role::Resolution), 3);
    EXPECT_EQ(FindOption(names, Role::Brightness), 4);
    EXPECT_EQ(FindOption(names, Role::Source), 5);
    EXPECT_EQ(FindOption(names, Role::TlX), 6);
    EXPECT_EQ(FindOption(names, Role::BrY), 9);
    // A device without these options: the capability is simply not there.
    EXPECT_EQ(FindOption({"", "mode"}, Role::Brightness), -1);
    EXPECT_EQ(FindOption(names, Role::XResolution), -1);
}

TEST(OptionNames, SeparateHorizontalAndVerticalResolution) {
    const std::vector<std::string> names = {"", "resolution", "x-resolution", "y-resolution"};
    std::string quirk;
    EXPECT_EQ(FindOption(names, Role::XResolution, &quirk), 2);
    EXPECT_EQ(quirk, "option-x-resolution");
    EXPECT_EQ(FindOption(names, Role::YResolution, &quirk), 3);
    EXPECT_EQ(quirk, "option-y-resolution");
    QuirkOff off("option-y-resolution");
    EXPECT_EQ(FindOption(names, Role::YResolution), -1);
}

TEST(ModeStrings, EachSpellingOfEachPixelType) {
    struct Case {
        std::vector<std::string> modes;
        int pixelType;
        const char* mode;
        const char* quirk;
    } cases[] = {
        {{"Lineart", "Gray", "Color"}, 0, "Lineart", "mode-lineart"},
        {{"Binary", "Grayscale", "RGB"}, 0, "Binary", "mode-binary"},
        {{"Lineart", "Gray", "Color"}, 1, "Gray", "mode-gray"},
        {{"Binary", "Grayscale", "RGB"}, 1, "Grayscale", "mode-grayscale"},
        {{"Lineart", "Gray", "Color"}, 2, "Color", "mode-color"},
        {{"Binary", "Grayscale", "RGB"}, 2, "RGB", "mode-rgb"},
        {{"lineart", "gray", "color"}, 0, "lineart", "mode-lineart"},  // case does not matter
    };
    for (const Case& c : cases) {
        const ModeChoice m = ChooseMode(c.modes, {}, c.pixelType);
        EXPECT_EQ(m.mode, c.mode) << c.quirk;
        EXPECT_EQ(m.quirk, c.quirk);
        EXPECT_EQ(PixelTypeOfMode(c.modes, c.mode, 8), c.pixelType) << c.quirk;
    }
}

TEST(ModeStrings, SwitchedOffSpellingIsNotUsed) {
    QuirkOff off("mode-binary");
    QuirkOff noGrey("bw-from-grey");
    EXPECT_TRUE(ChooseMode({"Binary", "Gray"}, {}, 0).mode.empty());
    EXPECT_EQ(ChooseMode({"Binary", "Gray"}, {}, 1).mode, "Gray");
}

TEST(ModeStrings, GreyAndColourAskForEightBitsWhereTheDeviceHasADepthChoice) {
    EXPECT_EQ(ChooseMode({"Gray", "Color"}, {1, 8, 16}, 1).depth, 8);
    EXPECT_EQ(ChooseMode({"Gray", "Color"}, {1, 8, 16}, 2).depth, 8);
    EXPECT_EQ(ChooseMode({"Gray", "Color"}, {}, 2).depth, 0);
}

TEST(LineArtAsGreyAtDepthOne, UsedOnlyWithoutALineArtMode) {
    const ModeChoice m = ChooseMode({"Gray", "Color"}, {1, 8, 16}, 0);
    EXPECT_EQ(m.mode, "Gray");
    EXPECT_EQ(m.depth, 1);
    EXPECT_EQ(m.quirk, "lineart-as-gray-depth-1");
    EXPECT_EQ(PixelTypeOfMode({"Gray", "Color"}, "Gray", 1), 0);
    EXPECT_EQ(PixelTypes({"Gray", "Color"}, {1, 8, 16}), (std::vector<int>{0, 1, 2}));

    // A device with line art of its own uses it.
    EXPECT_EQ(ChooseMode({"Lineart", "Gray"}, {1, 8}, 0).mode, "Lineart");
    EXPECT_EQ(PixelTypeOfMode({"Lineart", "Gray"}, "Gray", 1), -1);
    // No depth 1 to fall back on: black and white only made from grey.
    QuirkOff noGrey("bw-from-grey");
    EXPECT_TRUE(ChooseMode({"Gray", "Color"}, {8, 16}, 0).mode.empty());
    EXPECT_EQ(PixelTypes({"Gray", "Color"}, {8}), (std::vector<int>{1, 2}));

    QuirkOff off("lineart-as-gray-depth-1");
    EXPECT_TRUE(ChooseMode({"Gray", "Color"}, {1, 8, 16}, 0).mode.empty());
}

// sane-airscan and the escl back end offer grey and colour only.
TEST(BwFromGrey, BlackAndWhiteIsScannedGreyAndReduced) {
    const ModeChoice m = ChooseMode({"Color", "Gray"}, {}, 0);
    EXPECT_EQ(m.mode, "Gray");
    EXPECT_EQ(m.depth, 0);
    EXPECT_EQ(m.quirk, "bw-from-grey");
    EXPECT_EQ(PixelTypes({"Color", "Gray"}, {}), (std::vector<int>{0, 1, 2}));
    EXPECT_TRUE(MayReduce(1, 0));
    // Devices with a black-and-white mode of their own, or grey at depth 1, use that.
    EXPECT_EQ(ChooseMode({"Lineart", "Gray"}, {}, 0).quirk, "mode-lineart");
    EXPECT_EQ(ChooseMode({"Gray", "Color"}, {1, 8}, 0).quirk, "lineart-as-gray-depth-1");

    QuirkOff off("bw-from-grey");
    EXPECT_TRUE(ChooseMode({"Color", "Gray"}, {}, 0).mode.empty());
    EXPECT_EQ(PixelTypes({"Color", "Gray"}, {}), (std::vector<int>{1, 2}));
    EXPECT_FALSE(MayReduce(1, 0));
}

// The escl back end decodes every page to RGB, grey ones too.
TEST(GreyFromColourFrames, ColourDeliveredForGreyIsReduced) {
    EXPECT_TRUE(MayReduce(2, 1));
    EXPECT_TRUE(MayReduce(2, 0));
    EXPECT_FALSE(MayReduce(1, 2));  // never more colours than delivered
    EXPECT_FALSE(MayReduce(1, 1));
    EXPECT_FALSE(MayReduce(2, -1));
    QuirkOff off("grey-from-colour-frames");
    EXPECT_FALSE(MayReduce(2, 1));
    EXPECT_FALSE(MayReduce(2, 0));
    EXPECT_TRUE(MayReduce(1, 0));
}

TEST(Sources, FlatbedFeederAndDuplexByWhatTheyAreCalled) {
    const Sources a = ClassifySources({"Flatbed", "ADF Front", "ADF Duplex"});
    EXPECT_EQ(a.flatbed, "Flatbed");
    EXPECT_EQ(a.feeder, "ADF Front");
    EXPECT_EQ(a.duplex, "ADF Duplex");
    const Sources b = ClassifySources({"Flatbed", "Automatic Document Feeder"});
    EXPECT_EQ(b.feeder, "Automatic Document Feeder");
    EXPECT_TRUE(b.duplex.empty());
    const Sources c = ClassifySources({"Normal", "ADF"});
    EXPECT_EQ(c.flatbed, "Normal");
    EXPECT_EQ(c.feeder, "ADF");
}

TEST(Sources, SwitchedOffSpellingsCountAsFlatbed) {
    {
        QuirkOff off("source-document-feeder");
        EXPECT_TRUE(ClassifySources({"Flatbed", "Automatic Document Feeder"}).feeder.empty());
    }
    {
        QuirkOff off("source-duplex");
        const Sources s = ClassifySources({"ADF Front", "ADF Duplex"});
        EXPECT_TRUE(s.duplex.empty());
        EXPECT_EQ(s.feeder, "ADF Front");
    }
    QuirkOff off("source-adf");
    EXPECT_EQ(ClassifySources({"Flatbed", "ADF"}).flatbed, "Flatbed");
    EXPECT_TRUE(ClassifySources({"Flatbed", "ADF"}).feeder.empty());
}

TEST(Sources, FeederAndDuplexSwitchesChooseTheEntry) {
    const Sources s = ClassifySources({"Flatbed", "ADF Front", "ADF Duplex"});
    EXPECT_EQ(ChooseSource(s, false, false), "Flatbed");
    EXPECT_EQ(ChooseSource(s, false, true), "Flatbed");
    EXPECT_EQ(ChooseSource(s, true, false), "ADF Front");
    EXPECT_EQ(ChooseSource(s, true, true), "ADF Duplex");
    const Sources simplex = ClassifySources({"Flatbed", "ADF"});
    EXPECT_EQ(ChooseSource(simplex, true, true), "ADF");
    const Sources onlyDuplex = ClassifySources({"ADF Duplex"});
    EXPECT_EQ(ChooseSource(onlyDuplex, true, false), "ADF Duplex");
    EXPECT_TRUE(ChooseSource(onlyDuplex, false, false).empty());
}

TEST(Quirks, EveryEntryHasAUniqueNameAndCanBeSwitched) {
    std::vector<std::string> seen;
    for (const Quirk& q : Quirks()) {
        EXPECT_TRUE(q.enabled) << q.name;
        EXPECT_EQ(std::count(seen.begin(), seen.end(), q.name), 0) << q.name;
        seen.push_back(q.name);
    }
    EXPECT_FALSE(SetQuirkEnabled("no-such-entry", false));
}
