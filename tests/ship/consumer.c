/* A program that links against Latticor.dll by name, through whichever
 * import library it is given, and calls the three exports: it exits 0 when
 * the loader found them all and they answer as documented. */
#include <string.h>
#include <windows.h>

#include "latticor.h"

int main(void) {
  HBITMAP picture = GetBmp();
  const int ok = strcmp(GetGrid_ClassName(), LATTICOR_CLASS_NAME) == 0 && GetID() == 258 && picture != NULL;
  DeleteObject(picture);
  return ok ? 0 : 1;
}
