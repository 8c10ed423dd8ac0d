#include "mediatools/gallery.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "mediatools/gallery_text.h"

namespace trellan {
namespace {

TEST(GallerySnippet, HoldsTheBlocksInTheOrderFoundWithoutDerivedCopies) {
  EXPECT_EQ(GallerySnippet({}), "");
  EXPECT_EQ(GallerySnippet({"b.png", "see_t.jpg", "a.jpg", "berg_w.png", "Berg_T.jpg"}),
            FigureBlock("b.png") + FigureBlock("a.jpg") + FigureBlock("Berg_T.jpg"));
}

}  // namespace
}  // namespace trellan
