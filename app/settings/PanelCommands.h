#pragma once

// Commands that a button of the settings panel shares with a menu entry. The
// menus implement them; the panel's buttons only forward, so a button and its
// menu entry always behave alike.
class PanelCommands {
public:
    virtual ~PanelCommands() = default;

    virtual void mSetTxt_Click() = 0;        // text-watermark dialog
    virtual void mSetImg_Click() = 0;        // choose the watermark picture
    virtual void mTRect_Click() = 0;         // move-picture mode
    virtual void mTOption_Click() = 0;       // options dialog, general page
    virtual void mSPDFSet_Click() = 0;       // options dialog, PDF page
    virtual void mPCutImg_Click() = 0;       // viewer in crop mode
    virtual void mPRT_Click(int index) = 0;  // rotation entry 0..7
    virtual void mPCR_Click(int index) = 0;  // colour channel 0 red, 1 green, 2 blue
    virtual void mTX_Click(int index) = 0;   // effect entry 0..12
};
