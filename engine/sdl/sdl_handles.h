// Owning handles for the SDL objects the backend keeps: each frees its object with the matching
// SDL call when it goes out of scope.
#pragma once

#include <SDL.h>
#include <SDL_mixer.h>
#include <SDL_ttf.h>

#include <memory>

namespace engine::sdl {

template <typename T, void (*Free)(T*)>
struct Freer {
  void operator()(T* object) const { Free(object); }
};

using WindowPtr = std::unique_ptr<SDL_Window, Freer<SDL_Window, SDL_DestroyWindow>>;
using RendererPtr = std::unique_ptr<SDL_Renderer, Freer<SDL_Renderer, SDL_DestroyRenderer>>;
using TexturePtr = std::unique_ptr<SDL_Texture, Freer<SDL_Texture, SDL_DestroyTexture>>;
using SurfacePtr = std::unique_ptr<SDL_Surface, Freer<SDL_Surface, SDL_FreeSurface>>;
using FontPtr = std::unique_ptr<TTF_Font, Freer<TTF_Font, TTF_CloseFont>>;
using ChunkPtr = std::unique_ptr<Mix_Chunk, Freer<Mix_Chunk, Mix_FreeChunk>>;
using MusicPtr = std::unique_ptr<Mix_Music, Freer<Mix_Music, Mix_FreeMusic>>;

}  // namespace engine::sdl
