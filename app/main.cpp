// Start-up of the program.
#include <windows.h>

#include "generator/generate_site.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  trellan::GenerationRequest request;
  request.title = "Seitentitel eingeben";
  request.author = "Vorname Name";
  request.keywords = "Schl\xFCsselw\xF6rter f\xFCr Suchmaschinen eingeben";
  request.menu_text = "Start\r\nSeite 2\r\nSeite 3\r\nLinks & Media\r\nImpressum";
  trellan::GenerateSite(nullptr, request);
  return 0;
}
