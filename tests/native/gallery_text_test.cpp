#include "mediatools/gallery_text.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace trellan {
namespace {

TEST(IsDerivedPictureName, SkipsThumbnailsAndWebCopiesCaseSensitively) {
  EXPECT_TRUE(IsDerivedPictureName("berg_t.jpg"));
  EXPECT_TRUE(IsDerivedPictureName("berg_w.png"));
  EXPECT_TRUE(IsDerivedPictureName("a_t.b.jpg"));  // anywhere in the name
  EXPECT_FALSE(IsDerivedPictureName("Berg_T.jpg"));
  EXPECT_FALSE(IsDerivedPictureName("Berg_W.jpg"));
  EXPECT_FALSE(IsDerivedPictureName("berg_tx.jpg"));
  EXPECT_FALSE(IsDerivedPictureName("berg-t.jpg"));
  EXPECT_FALSE(IsDerivedPictureName("Mein_Bild.JPG"));
}

TEST(EncodeSourceName, KeepsUnreservedBytesAndEscapesAllOthers) {
  const std::string kept = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-./:_~";
  for (int value = 0; value < 256; ++value) {
    const std::string byte(1, static_cast<char>(value));
    char escaped[4];
    std::snprintf(escaped, sizeof escaped, "%%%02X", value);
    const std::string expected = kept.find(byte) != std::string::npos ? byte : escaped;
    EXPECT_EQ(EncodeSourceName(byte), expected) << "byte " << value;
  }
}

TEST(EncodeSourceName, EncodesEachByteOfANonAsciiCharacter) {
  EXPECT_EQ(EncodeSourceName("sch\xC3\xB6ne aussicht.jpeg"), "sch%C3%B6ne%20aussicht.jpeg");
  EXPECT_EQ(EncodeSourceName("Mein_Bild.JPG"), "Mein_Bild.JPG");
  EXPECT_EQ(EncodeSourceName("100% & mehr.png"), "100%25%20%26%20mehr.png");
  EXPECT_EQ(EncodeSourceName(""), "");
}

TEST(CaptionOf, RemovesExtensionsIgnoringCase) {
  EXPECT_EQ(CaptionOf("Mein_Bild.JPG"), "Mein Bild");
  EXPECT_EQ(CaptionOf("foto.JpEg"), "Foto");
  EXPECT_EQ(CaptionOf("y.JFIF"), "Y");
  EXPECT_EQ(CaptionOf("icon.Svg"), "Icon");
  EXPECT_EQ(CaptionOf("anim.gif"), "Anim");
  EXPECT_EQ(CaptionOf("neu.WEBP"), "Neu");
  EXPECT_EQ(CaptionOf("scan.tif"), "Scan.tif");
}

TEST(CaptionOf, RemovesEveryExtensionWhereverItStands) {
  EXPECT_EQ(CaptionOf("x.png.jpg"), "X");
  EXPECT_EQ(CaptionOf("foto.jpg-kopie.png"), "Foto-kopie");
  EXPECT_EQ(CaptionOf("a.jpg_b.jpg"), "A b");
  // After a removal the search starts again from the beginning.
  EXPECT_EQ(CaptionOf(".j.jpgpg"), "");
}

TEST(CaptionOf, KeepsOneOfTwoAdjacentCopies) {
  EXPECT_EQ(CaptionOf("a.jpg.jpg"), "A.jpg");
  EXPECT_EQ(CaptionOf("a.jpg.JPG.jpg"), "A.JPG.jpg");  // the first copy goes
  EXPECT_EQ(CaptionOf("b.png.png"), "B.png");
}

TEST(CaptionOf, UpperCasesOnlyALeadingAsciiLetter) {
  EXPECT_EQ(CaptionOf("sch\xC3\xB6ne aussicht.jpeg"), "Sch\xC3\xB6ne aussicht");
  EXPECT_EQ(CaptionOf("\xC3\xA4.png"), "\xC3\xA4");
  EXPECT_EQ(CaptionOf("abc DEF.png"), "Abc DEF");
  EXPECT_EQ(CaptionOf("1abc.png"), "1abc");
  EXPECT_EQ(CaptionOf("_a_b_.png"), " a b ");
  EXPECT_EQ(CaptionOf("a&b.png"), "A&b");  // not HTML-escaped
  EXPECT_EQ(CaptionOf(".png"), "");
}

TEST(FigureBlock, HasSevenCrLfLinesWithTheCaptionThreeTimes) {
  EXPECT_EQ(FigureBlock("sch\xC3\xB6ne_aussicht.jpeg"),
            "<figure>\r\n"
            "  <img class=\"bild zoom\"\r\n"
            "   src=\"media/sch%C3%B6ne_aussicht.jpeg\"\r\n"
            "   title=\"Sch\xC3\xB6ne aussicht\"\r\n"
            "   alt=\"Sch\xC3\xB6ne aussicht\">\r\n"
            "  <figcaption>Sch\xC3\xB6ne aussicht</figcaption>\r\n"
            "</figure>\r\n"
            "\r\n");
}

TEST(GalleryNoticeText, NamesTheListFileBetweenBareCarriageReturns) {
  EXPECT_EQ(GalleryNoticeText("C:\\users\\u1\\Desktop\\CSS-Musterseite\\_Bilder.txt"),
            "Die HTML-Bildergalerie wurde vorbereitet:\r\r"
            "C:\\users\\u1\\Desktop\\CSS-Musterseite\\_Bilder.txt\r\r"
            "Die Datei wird mit dem Editor ge\xF6"
            "ffnet, der Inhalt kann dann \xFC"
            "ber die "
            "Zwischenablage \xFC"
            "bernommen werden.");
}

}  // namespace
}  // namespace trellan
