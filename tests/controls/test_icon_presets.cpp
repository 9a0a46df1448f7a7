#include "controls/icon_presets.h"
#include "resources/resource_library.h"

#include <QSet>

#include <functional>

#include <gtest/gtest.h>

using namespace vexo;

namespace {

const QSet<QString> kMissingPictures{QStringLiteral("YMEKLE"), QStringLiteral("YMEKLEDOWN"),
                                     QStringLiteral("URTDETAY"), QStringLiteral("URTDETAYDOWN")};

TEST(IconPresets, EveryPresetNamesPicturesTheProgramHasOrKnowsItLacks)
{
    EXPECT_EQ(iconPresets().size(), 35);
    for (const IconPreset &p : iconPresets()) {
        SCOPED_TRACE(p.name);
        for (const char *name : {p.up, p.down, p.disabled}) {
            if (!name)
                continue;
            const QString picture = QString::fromLatin1(name);
            EXPECT_EQ(ResourceLibrary::contains(picture), !kMissingPictures.contains(picture.toUpper()));
        }
        ASSERT_NE(p.up, nullptr);
    }
}

// Every preset class builds, finds its row and ends up with the row's icons and the plain defaults.
TEST(IconPresets, EveryClassBuildsWithItsIcons)
{
#define PRESET(Name) {#Name, [](QWidget *owner) -> ICONPUSHBUTTON * { return new Name(owner); }}
    const std::pair<const char *, std::function<ICONPUSHBUTTON *(QWidget *)>> classes[] = {
        PRESET(OKPUSHBUTTON), PRESET(CANCELPUSHBUTTON), PRESET(NOPUSHBUTTON), PRESET(HELPPUSHBUTTON),
        PRESET(COLORPBUTTON), PRESET(BMCPBUTTON), PRESET(URTDETAYPBUTTON), PRESET(RUNPUSHBUTTON),
        PRESET(SILPUSHBUTTON), PRESET(NRCPUSHBUTTON), PRESET(CKTLPUSHBUTTON), PRESET(STKPUSHBUTTON),
        PRESET(HTANIPUSHBUTTON), PRESET(FORMPBUTTON), PRESET(COARITMEPBUTTON), PRESET(INTERPOLPBUTTON),
        PRESET(ARGIRPBUTTON), PRESET(KAPIPBUTTON), PRESET(COPKUTPUSHBUTTON), PRESET(PRINTERPBUTTON),
        PRESET(NOTEPADPUSHBUTTON), PRESET(HMAKPUSHBUTTON), PRESET(HSECPUSHBUTTON), PRESET(HKALPUSHBUTTON),
        PRESET(SEARCHPBUTTON), PRESET(EKLEPBUTTON), PRESET(MEKOANALPBUTTON), PRESET(BHAMMADPBUTTON),
        PRESET(RAPORALPBUTTON), PRESET(AMDONPBUTTON), PRESET(NONOPUSHBUTTON), PRESET(KAYDETPBUTTON),
        PRESET(ORANPUSHBUTTON), PRESET(GRPPUSHBUTTON), PRESET(GBELIRPUSHBUTTON),
    };
#undef PRESET
    EXPECT_EQ(std::size(classes), 35u);
    QWidget dialog;
    for (const auto &[name, make] : classes) {
        SCOPED_TRACE(name);
        const IconPreset *row = findIconPreset(QString::fromLatin1(name));
        ASSERT_NE(row, nullptr);
        std::unique_ptr<ICONPUSHBUTTON> button(make(&dialog));
        EXPECT_EQ(button->parentWidget(), &dialog);
        EXPECT_TRUE(button->iconUp().has_value());
        EXPECT_TRUE(button->iconDown().has_value());
        EXPECT_EQ(button->iconDisabled().has_value(), row->disabled != nullptr);
        EXPECT_EQ(button->iconUp()->isNull(), kMissingPictures.contains(QString::fromLatin1(row->up).toUpper()));
        EXPECT_EQ(button->leftIconBorder(), 4u);
        EXPECT_EQ(button->buttonTextColor(), 0u);
    }
}

TEST(IconPresets, CancelDisabledShowsItsUpIcon)
{
    CANCELPUSHBUTTON cancel(nullptr, QStringLiteral("İptal"));
    cancel.DISABLE();
    ASSERT_TRUE(cancel.currentIcon().has_value());
    EXPECT_EQ(cancel.currentIcon()->cacheKey(), cancel.iconUp()->cacheKey());
}

TEST(IconPresets, SearchShowsOneIconPressedOrNot)
{
    SEARCHPBUTTON search;
    EXPECT_EQ(search.iconDown()->cacheKey(), search.iconUp()->cacheKey());
    search.setDown(true);
    EXPECT_EQ(search.currentIcon()->cacheKey(), search.iconUp()->cacheKey());
}

TEST(IconPresets, SharedFaces)
{
    // Delete and the bin share their pressed and disabled faces and differ in the normal one.
    SILPUSHBUTTON sil;
    COPKUTPUSHBUTTON bin;
    const auto image = [](const std::optional<QIcon> &icon) { return icon->pixmap(32).toImage(); };
    EXPECT_EQ(image(sil.iconDown()), image(bin.iconDown()));
    EXPECT_EQ(image(sil.iconDisabled()), image(bin.iconDisabled()));
    EXPECT_NE(image(sil.iconUp()), image(bin.iconUp()));
    // Colour and add share their (missing) pair.
    EXPECT_STREQ(findIconPreset(QStringLiteral("COLORPBUTTON"))->up, findIconPreset(QStringLiteral("EKLEPBUTTON"))->up);
}

TEST(IconPresets, LookupIgnoresCaseAndRefusesStrangers)
{
    EXPECT_NE(findIconPreset(QStringLiteral("okpushbutton")), nullptr);
    EXPECT_EQ(findIconPreset(QStringLiteral("OKBMPBUTTON")), nullptr);
}

} // namespace
