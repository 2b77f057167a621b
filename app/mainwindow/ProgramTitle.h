#pragma once

#include <QString>

// "Vimo图片批处理" with the major and minor version and "版", e.g. "Vimo图片批处理5.9版".
QString programTitle();
