#pragma once

#include "overlay/composition.h"
#include "platform/raster.h"
#include "program/folder_names.h"
#include "scripted_dialogs.h"
#include "test_folder.h"

namespace crinova::test {

// A composition bench: buffers of the given size over a program folder of its own (empty, so that
// tests write bitmaps whose every pixel is exact, or the samples), and the services wired to a
// scripted dialog service. A hair is applied.
struct CompositionBench {
    TestProgramFolder folder;
    PictureCache pictures;
    Database database;
    ScriptedDialogs dialogs;
    BlendCache blend;
    CompositionServices services{folder.folder(), pictures, database, dialogs, &blend};
    OverlayState state;
    PictureBuffers buffers;

    CompositionBench(int width, int height,
                     TestProgramFolder::Contents contents = TestProgramFolder::Empty)
        : folder(contents) {
        buffers.fprincipal.Resize(width, height);
        buffers.sizeLikeVisible();
        state.pelocargado = true;
        state.fotobase = folder.path(kBasePhoto);
    }
    void write(const QString& name, const QImage& picture) { folder.writePicture(name, picture); }
    Colour shown(int x, int y) const { return GetPixel(buffers.fprincipal, x, y); }
};

}  // namespace crinova::test
