# A 12 m cut at 1:1 through sand on the crest and three clays, the weakest in the middle:
# its critical circle crosses four soils.
title cut in three clays under sand
material 1 unit_weight 19 cohesion 0 phi 30
material 2 unit_weight 19 cohesion 55 phi 0
material 3 unit_weight 19 cohesion 43 phi 0
material 4 unit_weight 19 cohesion 56 phi 0
boundary 1 0 30 18 30 22 28 32 18 60 18
boundary 2 0 28 22 28 32 18 60 18
boundary 3 0 22 28 22 32 18 60 18
boundary 4 0 14 60 14
bedrock 5
