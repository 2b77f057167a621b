/* vumpdf.h: the C interface of libPDF, a PDF 1.3 writer. */
#ifndef VUMPDF_H
#define VUMPDF_H

#include <stdint.h>

#if defined(VUMPDF_BUILDING)
#define VUMPDF_API __attribute__((visibility("default")))
#else
#define VUMPDF_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

#ifdef __cplusplus
}
#endif

#endif /* VUMPDF_H */
