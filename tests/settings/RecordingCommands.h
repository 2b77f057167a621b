#pragma once

#include <QString>
#include <QStringList>
#include <functional>

#include "settings/PanelCommands.h"

// Records every command a panel button forwards, as "name" or "name(i)".
// A test may give a command something to do (for example choosing a
// watermark picture) through `onSetImg`.
class RecordingCommands : public PanelCommands {
public:
    void mSetTxt_Click() override { calls << QStringLiteral("mSetTxt_Click"); }
    void mSetImg_Click() override
    {
        calls << QStringLiteral("mSetImg_Click");
        if (onSetImg)
            onSetImg();
    }
    void mTRect_Click() override { calls << QStringLiteral("mTRect_Click"); }
    void mTOption_Click() override { calls << QStringLiteral("mTOption_Click"); }
    void mSPDFSet_Click() override { calls << QStringLiteral("mSPDFSet_Click"); }
    void mPCutImg_Click() override { calls << QStringLiteral("mPCutImg_Click"); }
    void mPRT_Click(int index) override { calls << QStringLiteral("mPRT_Click(%1)").arg(index); }
    void mPCR_Click(int index) override { calls << QStringLiteral("mPCR_Click(%1)").arg(index); }
    void mTX_Click(int index) override { calls << QStringLiteral("mTX_Click(%1)").arg(index); }

    QStringList calls;
    std::function<void()> onSetImg;
};
