# A 12 m embankment at 1:2 of two fills on a soft clay.
title embankment of two fills on soft clay
material 1 unit_weight 20 cohesion 5 phi 32
material 2 unit_weight 19 cohesion 8 phi 28
material 3 unit_weight 16 cohesion 45 phi 0
boundary 1 0 0 30 0 54 12 80 12
boundary 2 0 0 30 0 42 6 80 6
boundary 3 0 0 80 0
bedrock -12
