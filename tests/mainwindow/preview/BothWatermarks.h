#pragma once

#include "state/AppState.h"

// A 400 x 300 preview at (10, 20) of an 800 x 600 picture: the text's top
// left at (100, 150) with an 80 x 20 extent, the picture watermark's centre at
// (300, 150) with a drawn size of 100 x 50.
inline AppState bothWatermarksOn()
{
    AppState st;
    st.ps.sText = "Vimo";
    st.ps.sSyFile = "/marks/logo.png";
    st.panel.chkInfoTxt = 1;
    st.panel.chkInfoImg = 1;
    st.ps.iuTSyX = 0.25;
    st.ps.iuTSyY = 0.5;
    st.ps.iuISyX = 0.75;
    st.ps.iuISyY = 0.5;
    st.ps.sngSyW = 100;
    st.ps.sngSyH = 50;
    return st;
}
