#pragma once
namespace quorin { struct Game; void BuildSprites(Game&); void ReleaseAllSprites(Game&); void RenderFrame(Game&); void PrepareTables(Game&); }
