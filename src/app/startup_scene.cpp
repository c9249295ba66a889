#include "app/startup_scene.h"

#include <cmath>
#include <numbers>

#include "app/app_state.h"
#include "app/music.h"
#include "app/random.h"
#include "app/run_phase.h"
#include "engine/platform.h"
#include "game/game.h"
#include "menus/exit_menu.h"
#include "menus/help_menu.h"
#include "menus/main_menu.h"
#include "menus/opt_menu.h"
#include "menus/record_input_menu.h"
#include "menus/records_menu.h"
#include "persist/settings.h"
#include "sprites/image_pack.h"

int32_t Camera = 0;
int32_t MenuFont = 0;
int32_t GameFont = 0;
Vec3f LightDirection{1, -1, 1};
Vec4f LightColour{2, 2, 2, 0.3f};
std::unique_ptr<TMeshSprite> LoadingSprite;
std::array<std::unique_ptr<TMeshSprite>, 4> MenuPictures;
std::unique_ptr<TMeshSprite> GameOverSprite;
std::unique_ptr<TMeshSprite> CongratsSprite;
std::array<int32_t, 10> DigitTextures{};
int32_t MenuMoveSound = 0;
int32_t MenuSelectSound = 0;
int32_t CursorSprite = 0;
std::array<int32_t, 11> CursorTextures{};
bool Initialised = false;

namespace {

constexpr const char* kQuadModel = "data\\sprite.x";

void StartTimingBase() {
  iRenderingDisable();
  int64_t frequency = 1;
  QueryPerformanceFrequency(&frequency);
  SecondsPerTick = 1.0L / static_cast<long double>(frequency > 0 ? frequency : 1);
  QueryPerformanceCounter(&PreviousCounter);
}

void SetUpCamera() {
  iEscEnable(0);
  Camera = iCameraCreate(0, 0, 1.0f, 1.0f);
  iCameraEulerOrientationSet(Camera, 0, 0, 0, "xyz");
  iCameraFovSet(Camera, -100.0f);
}

void SetLight(float level) {
  LightDirection = {1, -1, 1};
  LightColour = {level, level, level, 0.3f};
  iLightDirectionalSet(LightDirection, LightColour);
}

void CreateLoadingSprite() {
  LoadingSprite = TMeshSprite::Create("data\\loading.jpg", 800, 600, 0, 0, 40, false);
  LoadingSprite->Show();
  iRender();
}

void CreateMenuBackground() {
  MenuPictures[0] =
      TMeshSprite::CreateFromPack("data\\Background.dat", 3, 1000005, 800, 600, 0, 0, 0, false);
}

// The three pictures that pulse over the menu background.
void CreateMenuPulsePictures() {
  MenuPictures[1] =
      TMeshSprite::CreateFromPack("data\\Background.dat", 0, 1000007, 118, 110, -10, 493, 2, false);
  MenuPictures[2] =
      TMeshSprite::CreateFromPack("data\\Background.dat", 1, 1001444, 304, 92, 15, 498, 2, false);
  MenuPictures[3] =
      TMeshSprite::CreateFromPack("data\\Background.dat", 2, 1001445, 212, 47, 64, 548, 2, false);
  BackgroundAngle = 0;
  constexpr long double kPi = std::numbers::pi_v<long double>;
  MenuPictures[1]->SetAlpha(static_cast<float>(std::cos(BackgroundAngle)));
  MenuPictures[2]->SetAlpha(static_cast<float>(std::cos(BackgroundAngle + kPi / 3)));
  MenuPictures[3]->SetAlpha(static_cast<float>(std::cos(BackgroundAngle + 2 * kPi / 3)));
}

void CreateMusic() {
  MenuMusic = iSoundCreate("sound\\musmenu.wav", 0);
  GameMusic = iSoundCreate("sound\\musgame.wav", 0);
}

void CreateEndPictures() {
  GameOverSprite = TMeshSprite::Create("data\\GameOver.png", 800, 600, 0, 0, 18, false);
  CongratsSprite = TMeshSprite::Create("data\\Congratulations.png", 800, 600, 0, 0, 18, false);
}

void LoadDigits() {
  for (int i = 0; i < 10; ++i)
    DigitTextures[i] = LoadPackTexture("data\\Numbers.dat", static_cast<uint16_t>(i), 1002030 + i);
}

void CreateFonts() {
  iTextureMipLevelsSet(0);
  MenuFont = iFontCreate("data\\_fontw\\Millenium BdEx BT.wid", Camera);
  GameFont = iFontCreate("data\\_fontg\\Square721 BT.wid", Camera);
  iTextureMipLevelsSet(1);
}

void CreateCursor() {
  CursorSprite = CreateCursorSprite(kQuadModel, "data\\cursor.png", 1, 1);
  iMouseReset(Vec2f{0.5f, 0.5f});
  iSpriteScaleSet(CursorSprite, Vec2f{5.12f, 5.12f});
  for (int i = 0; i < 11; ++i)
    CursorTextures[i] = LoadPackTexture("data\\Cursor.dat", static_cast<uint16_t>(i), 1004120 + i);
  CursorFrame = 1;
  iSpriteTextureReset(CursorSprite);
  iSpriteTextureSet(CursorSprite, CursorTextures[0]);
}

void CreateMenuSounds() {
  MenuMoveSound = iSoundCreate("sound\\mainmenuchg.WAV", 0);
  MenuSelectSound = iSoundCreate("sound/btn_clk.wav", 0);
}

void ShowMenuPictures() {
  for (auto& picture : MenuPictures)
    picture->Show();
}

void FirstBuild() {
  Randomize();
  MenuBackgroundOn = true;
  MainMenu = std::make_unique<TMainMenu>();
  HelpMenu = std::make_unique<THelpMenu>();
  ExitMenu = std::make_unique<TExitMenu>();
  RecordsMenu = std::make_unique<TRecordsMenu>();
  OptMenu = std::make_unique<TOptMenu>();
  RecordInputMenu = std::make_unique<TRecordInputMenu>();
  Game = std::make_unique<TGame>();
  AppState = StateMainMenu;

  SetUpCamera();
  LightLevel = 200;
  SetLight(LightLevel / 100.0f);
  iMouseResolutionSet(800);
  iTextureMipLevelsSet(1);

  CreateLoadingSprite();
  CreateMenuBackground();
  CreateMusic();
  CreateMenuPulsePictures();
  CreateEndPictures();
  LoadDigits();

  MainMenu->Build();
  HelpMenu->Build();
  RecordsMenu->Build();
  OptMenu->Build();
  RecordInputMenu->Build();
  ExitMenu->Build();

  CreateFonts();
  CreateCursor();
  SettingsEdit = Settings;

  MainMenu->ShowButtons();
  if (MenuBackgroundOn)
    ShowMenuPictures();
  iSpriteShow(CursorSprite);
  iSpritePrioritySet(CursorSprite, 1);
  CreateMenuSounds();

  LoadingSprite->Hide();
  LightLevel = 1;
  SetLight(0.01f);
  iRender();

  if (MenuBackgroundOn)
    PlayMusic("1");
  iSpriteShow(CursorSprite);
  Initialised = true;

  // Every run begins with the menu buttons fading in.
  ButtonFade.fill(0);
  for (int item = 1; item <= TMainMenu::kItems; ++item) {
    MainMenu->Button(item).Face->SetAlpha(0);
    MainMenu->Button(item).Glow->SetAlpha(0);
  }
  AppState = StateMenuFade;
  FadeIn = true;
  ExitAfterFade = false;
}

// The engine was reopened: every handle is new; the program's objects keep their state.
void Rebuild() {
  SetUpCamera();
  SetLight(2);
  iTextureMipLevelsSet(1);
  iMouseResolutionSet(800);
  Randomize();

  CreateLoadingSprite();
  CreateMenuBackground();
  CreateMusic();
  LoadDigits();

  MainMenu->Rebuild();
  RecordsMenu->Rebuild();
  RecordInputMenu->Rebuild();
  OptMenu->Rebuild();
  HelpMenu->Rebuild();
  ExitMenu->Rebuild();

  CreateEndPictures();
  CreateMenuPulsePictures();
  CreateFonts();
  CreateCursor();
  iSpriteShow(CursorSprite);
  iSpritePrioritySet(CursorSprite, 1);

  MainMenu->ShowButtons();
  CreateMenuSounds();
  if (AppState != StatePlaying && AppState != StatePaused && AppState != StateConfirmQuitGame)
    PlayMusic("1");
  if (MenuBackgroundOn)
    ShowMenuPictures();
  if (Game->ResourcesCreated)
    Game->RecreateResources();
  if (!MenuBackgroundOn) {
    MenuPictures[0]->Hide();
    MainMenu->HideButtons();
    iSpriteHide(CursorSprite);
    ShowGameScene();
  }
  if (AppState == StatePaused)
    Game->PauseSprite->Show();
  if (IsDialogState(AppState) || AppState == StateUploading)
    ExitMenu->ShowDialog();

  LoadingSprite->Hide();
  iRender();
}

}  // namespace

int32_t CreateCursorSprite(const char* model, const char* image, float sx, float sy) {
  const int32_t sprite = iSpriteCreate(model, 0);
  const int32_t texture = iTextureCreate(image);
  iSpriteTextureSwap(sprite, texture);
  iSpriteScaleSet(sprite, Vec2f{sx, sy});
  return sprite;
}

void BuildStartupScene() {
  StartTimingBase();
  if (!Initialised)
    FirstBuild();
  else
    Rebuild();
}
