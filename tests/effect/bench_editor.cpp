// A full redraw of the plug-in's 410 x 460 editor with every control dirty: the background, the
// seven knobs and switches, the LED and the caption composited into the editor's surface.
#include <benchmark/benchmark.h>

#include "effect/tavrelzel4.h"
#include "framework/igraphicswin.h"
#include "raster/bitmap.h"

static void BM_EditorFullRedraw(benchmark::State& state) {
    IGraphicsWin::SetImageFolder(TZ_SOURCE_DIR);  // the headless build reads the image files
    TavrelZel4 plug;
    IGraphics* editor = plug.GetGraphics();
    IBounds all{0, 0, editor->Width(), editor->Height()};
    for (auto _ : state) {
        for (int i = 0; i < editor->NControls(); ++i) editor->GetControl(i)->MarkDirty(false);
        editor->PaintArea(&all);
        benchmark::DoNotOptimize(editor->DrawSurface()->Pixels());
    }
}
BENCHMARK(BM_EditorFullRedraw)->Unit(benchmark::kMicrosecond);
