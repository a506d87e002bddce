#include "browser/PreviewPath.h"

#include "browser/AcadSlideBitmap.h"
#include "browser/SlideWriter.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

using Kind = PreviewSource::Kind;

class PreviewPaths : public ::testing::Test {
protected:
    void PutSlide(const std::string& name)
    {
        CSlideWriter writer;
        writer.AddLine(1, 0, 0, 10, 10);
        test::WriteFile(m_folder.NativeAt(name), writer.Finish());
    }
    void PutLibrary(const std::string& name, const std::string& member)
    {
        CSlideWriter writer;
        writer.AddLine(2, 0, 0, 10, 10);
        std::string library, error;
        ASSERT_TRUE(WriteSlideLibrary({ { member, writer.Finish() } }, library, error));
        test::WriteFile(m_folder.NativeAt(name), library);
    }
    std::string At(const std::string& relative) const { return m_folder.ProgramAt(relative); }

    test::TempFolder m_folder;
};

TEST_F(PreviewPaths, OtherExtensionsAreImagesWithABitmapFallback)
{
    PreviewSource source = ResolvePreviewPath(At("pics\\A12.jpg"));
    EXPECT_EQ(source.kind, Kind::Image);
    EXPECT_EQ(source.path, At("pics\\A12.jpg"));
    EXPECT_EQ(source.fallbackPath, At("pics\\A12.bmp"));
    EXPECT_EQ(ResolvePreviewPath("\\g\\A12").fallbackPath, "\\g\\A12.bmp");
    EXPECT_EQ(ResolvePreviewPath("\\g\\A12.Wmf").kind, Kind::Image);
}

TEST_F(PreviewPaths, ExistingSlideFileIsLoadedAsItIs)
{
    PutSlide("g/M12.SLD");
    PreviewSource source = ResolvePreviewPath(At("g\\m12.sld"));
    EXPECT_EQ(source.kind, Kind::SlideFile);
    EXPECT_EQ(source.path, At("g\\m12.sld"));
    CAcadSlideBitmap slide;
    EXPECT_EQ(LoadPreviewSlide(slide, source), 1);
}

TEST_F(PreviewPaths, MissingSlideFileIsLookedUpInTheFolderLibrary)
{
    PutLibrary("BOLTS/BOLTS.slb", "M12");
    PreviewSource source = ResolvePreviewPath(At("BOLTS\\M12.sld"));
    EXPECT_EQ(source.kind, Kind::LibrarySlide);
    EXPECT_EQ(source.path, At("BOLTS\\BOLTS.slb"));
    EXPECT_EQ(source.member, "M12");
    CAcadSlideBitmap slide;
    EXPECT_EQ(LoadPreviewSlide(slide, source), 1);
}

TEST_F(PreviewPaths, LibraryAndMemberInTheName)
{
    PutLibrary("g/BOLTS.SLB", "M12");
    PreviewSource source = ResolvePreviewPath(At("g\\BOLTS(M12).slb"));
    EXPECT_EQ(source.kind, Kind::LibrarySlide);
    EXPECT_EQ(source.path, At("g\\BOLTS.slb"));
    EXPECT_EQ(source.member, "M12");
    CAcadSlideBitmap slide;
    EXPECT_EQ(LoadPreviewSlide(slide, source), 1);
    EXPECT_EQ(ResolvePreviewPath(At("g\\BOLTS(M12)).sld")).member, "M12") << "every ) is removed";
}

TEST_F(PreviewPaths, LibraryMissingFallsBackToTheSingleSlide)
{
    PutSlide("g/Y.sld");
    PreviewSource source = ResolvePreviewPath(At("g\\X(Y).sld"));
    EXPECT_EQ(source.kind, Kind::SlideFile);
    EXPECT_EQ(source.path, At("g\\Y.sld"));
    CAcadSlideBitmap slide;
    EXPECT_EQ(LoadPreviewSlide(slide, source), 1);
}

TEST_F(PreviewPaths, ParenthesesInAFolderNameDoNotSplitThePath)
{
    PutSlide("GB(2000)/M12.sld");
    PreviewSource source = ResolvePreviewPath(At("GB(2000)\\M12.sld"));
    EXPECT_EQ(source.kind, Kind::SlideFile);
    EXPECT_EQ(source.path, At("GB(2000)\\M12.sld"));
}

TEST_F(PreviewPaths, ExtensionIsCutOnlyInTheFileName)
{
    PreviewSource source = ResolvePreviewPath("\\g\\v1.2\\Mslb");
    EXPECT_EQ(source.kind, Kind::LibrarySlide);
    EXPECT_EQ(source.path, "\\g\\v1.2\\v1.slb") << "the folder's title drops its extension";
    EXPECT_EQ(source.member, "Mslb");
}

} // namespace
} // namespace orv
