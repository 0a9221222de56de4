title homogeneous 2:1 slope
material 1 unit_weight 20 cohesion 3 phi 19.6
boundary 1 0 25 30 25 50 35 90 35
bedrock 20
circle 40 50 28
