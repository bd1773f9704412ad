/* FrResD5: the button pictures of the condition controls, chosen by number.
   A picture is 23 pixels high and made of square cells side by side, one per
   button state (cell 1 normal, cell 2 disabled); its bottom-left pixel is the
   transparent colour. */
#ifndef FRRESD5_H
#define FRRESD5_H

#ifdef __cplusplus
extern "C" {
#endif

/* The caller's bitmap, filled through its own callbacks so that no memory
   changes hands across the library boundary. */
typedef struct FrResBitmap {
  void* context;                                                  /* the caller's bitmap */
  int (*set_size)(void* context, int width, int height);          /* nonzero on success */
  void (*set_pixel)(void* context, int x, int y, unsigned color); /* 0x00BBGGRR */
} FrResBitmap;

/* The highest picture number the library holds. */
int GetMaxBmpID(void);

/* Fills the bitmap with picture `number`: nonzero on success; 0 for an
   unknown number, a null bitmap, an unreadable picture or a bitmap that
   cannot take the size. */
int LoadBmp(FrResBitmap* bitmap, int number);

#ifdef __cplusplus
}
#endif

#endif
