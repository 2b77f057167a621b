#include "processing/EffectDispatch.h"

#include "processing/CDIB.h"

void runEffect(CDIB& dib, int k, int brightness)
{
    switch (k) {
    case 0: dib.FastBlur(); break;
    case 1: dib.Sharpen(); break;
    case 2: dib.Flame(); break;
    case 3: dib.PurpleStain(); break;
    case 4: dib.Brown(); break;
    case 5: dib.NightShade(); break;
    case 6: dib.Spooky(); break;
    case 7: dib.ScanLines(50); break;
    case 8: dib.MakeEmboss(100, false, false); break;
    case 9: dib.Greyscale(); break;
    case 10: dib.Monochrome(128); break;
    case 11: dib.InvertColors(); break;
    case 12: dib.Brightness(brightness); break;
    default: break;
    }
}

void ApplyEffect(QImage& picture, int k, int brightness)
{
    if (picture.isNull())
        return;
    try {
        CDIB src;
        src.Clone(picture, true);
        CDIB work;
        work.Create(src.Width(), src.Height());
        work.CloneHDC(src);
        runEffect(work, k, brightness);
        picture = work.toImage();
    } catch (const DibError&) {
        // No surface for the effect: the picture stays as the drawing left it.
    }
}
